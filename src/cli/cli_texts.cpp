#include "cli_texts.h"

#include <QList>
#include <QString>
#include <regex>
#include <sstream>

namespace hasorin::cli {
namespace {

bool IsWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
         (c >= 0x3041 && c <= 0x33FF) || (c >= 0x3400 && c <= 0x4DBF) ||
         (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

// `text` padded with blanks to `columns` display columns.
std::string PadTo(const std::string& text, int columns) {
  return text + std::string(size_t(std::max(0, columns - DisplayWidth(text))), ' ');
}

// One line of a help list: the name column, then the description, as the
// parser lays it out but counted in display columns.
std::string HelpLine(const std::string& name, const std::string& description, size_t width) {
  const std::string shown = "  " + name;
  std::string out = PadTo(shown, int(width));
  if (!description.empty()) {
    if (DisplayWidth(shown) >= int(width)) out += "\n" + std::string(width, ' ');
    for (char c : description) {
      out += c;
      if (c == '\n') out += std::string(width, ' ');
    }
  }
  return out + "\n";
}

class JapaneseFormatter : public CLI::Formatter {
 public:
  JapaneseFormatter() {
    const std::pair<const char*, const char*> labels[] = {
        {"Usage", "使い方"},          {"OPTIONS", "ｵﾌﾟｼｮﾝ"},     {"SUBCOMMAND", "ｻﾌﾞｺﾏﾝﾄﾞ"},
        {"SUBCOMMANDS", "ｻﾌﾞｺﾏﾝﾄﾞ"}, {"Subcommands", "ｻﾌﾞｺﾏﾝﾄﾞ"}, {"Positionals", "引数"},
        {"Options", "ｵﾌﾟｼｮﾝ"},
        {"REQUIRED", "（必須）"},     {"TEXT", "文字列"},        {"INT", "整数"},
        {"UINT", "整数"},             {"FLOAT", "数値"},          {"Env", "環境変数"},
        {"Needs", "必要"},            {"Excludes", "同時に使えない"}};
    for (const auto& [key, text] : labels) label(key, text);
  }

  std::string make_group(std::string group, bool is_positional,
                         std::vector<const CLI::Option*> opts) const override {
    return CLI::Formatter::make_group(get_label(group), is_positional, std::move(opts));
  }
  std::string make_subcommands(const CLI::App* app, CLI::AppFormatMode mode) const override {
    std::string text = CLI::Formatter::make_subcommands(app, mode);
    const std::string english = "\nSubcommands:\n";
    if (size_t at = text.find(english); at != std::string::npos)
      text.replace(at, english.size(), "\n" + get_label("Subcommands") + ":\n");
    return text;
  }
  std::string make_option(const CLI::Option* opt, bool is_positional) const override {
    // A checked value's type reads "INT:INT in [1 - 3]": the type, then its range.
    static const std::regex ranged("([A-Z]+):[A-Z]+ in \\[(.*) - (.*)\\]");
    std::string opts = make_option_opts(opt);
    std::smatch m;
    if (std::regex_search(opts, m, ranged))
      opts = m.prefix().str() + get_label(m[1].str()) + "（" + m[2].str() + "～" + m[3].str() + "）" +
             m.suffix().str();
    return HelpLine(make_option_name(opt, is_positional) + opts, make_option_desc(opt), get_column_width());
  }
  std::string make_subcommand(const CLI::App* sub) const override {
    return HelpLine(sub->get_display_name(true), sub->get_description(), get_column_width());
  }
};

// `japanese` with the groups of `pattern` filled in, when the parser's
// message (its first line) is of that form; else empty.
std::string Match(const std::string& text, const char* pattern, const char* japanese) {
  const std::string line = text.substr(0, text.find_first_of("\r\n"));
  const std::regex re(pattern);
  std::smatch m;
  if (!std::regex_match(line, m, re)) return {};
  return m.format(japanese);
}

}  // namespace

int DisplayWidth(std::string_view utf8) {
  int width = 0;
  const QString text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
  for (char32_t c : text.toUcs4()) width += IsWide(c) ? 2 : 1;
  return width;
}

std::string ParseErrorText(const CLI::App& app, const CLI::Error& error) {
  const std::string what = error.what();
  // By exit code: the parser names some errors after the subcommand.
  const int kind = error.get_exit_code();
  using Codes = CLI::ExitCodes;
  std::string text;
  if (kind == int(Codes::RequiredError)) {
    if (what.find("subcommand") != std::string::npos) {
      std::vector<std::string> rest = app.remaining();
      text = rest.empty() ? "" : "「" + rest.front() + "」というｻﾌﾞｺﾏﾝﾄﾞはありません。";
      text += "ｻﾌﾞｺﾏﾝﾄﾞ（check，calc，print のいずれか）を指定してください。";
    } else {
      text = Match(what, "(.+) is required", "$1 を指定してください。");
    }
  } else if (kind == int(Codes::ExtrasError)) {
    text = Match(what, "The following arguments? (?:was|were) not expected: (.*)", "次の引数は使えません：$1");
  } else if (kind == int(Codes::ValidationError)) {
    text = Match(what, "(.*): Value (.*) not in range (.*) to (.*)",
                 "$1：値 $2 は使えません（入力範囲：$3 ～ $4）。");
  } else if (kind == int(Codes::ArgumentMismatch)) {
    text = Match(what, "(.*): (\\d+) required .* missing", "$1：値を指定してください。");
  } else if (kind == int(Codes::ConversionError)) {
    text = Match(what, "Could not convert: (.*) = (.*)", "$1：値 $2 を読み取れません。");
  }
  if (text.empty()) text = "ｺﾏﾝﾄﾞﾗｲﾝの指定が正しくありません（" + what + "）。";
  return text;
}

void UseJapaneseTexts(CLI::App& app) {
  app.formatter(std::make_shared<JapaneseFormatter>());
  app.set_help_flag("-h,--help", "このﾍﾙﾌﾟを表示して終了します");
  app.failure_message([](const CLI::App* failed, const CLI::Error& error) {
    return ParseErrorText(*failed, error) + "\n詳しくは --help を付けて実行してください。\n";
  });
}

}  // namespace hasorin::cli
