#pragma once
// The Japanese face of hasorin-cli's command line: the help and usage texts
// and the messages of a wrong command line, which the command-line parser
// would otherwise give in English, laid out by display width.
#include <CLI/CLI.hpp>
#include <string_view>

namespace hasorin::cli {

// Columns a UTF-8 text takes in a terminal: two for wide and full-width
// characters (kanji, kana, full-width forms), one for everything else
// (ASCII, half-width katakana, Greek, °).
int DisplayWidth(std::string_view utf8);

// Japanese help, usage and parse-error texts for `app`. Call before adding
// the subcommands: they take the help flag and the failure message over.
void UseJapaneseTexts(CLI::App& app);

// The Japanese message for a parse error, without the hint to --help.
std::string ParseErrorText(const CLI::App& app, const CLI::Error& error);

}  // namespace hasorin::cli
