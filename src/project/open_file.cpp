#include "open_file.h"

#include <QFileInfo>
#include <QString>

#include "inputfile.h"
#include "numfmt.h"

namespace hasorin {
namespace {

// "（ｴﾗｰｺｰﾄﾞ ： 1,234）", two line feeds and the request to quote the code.
std::string ErrorCodeTail(int code) {
  return "（ｴﾗｰｺｰﾄﾞ ： " + FormatNumber(code, "##,##0") + "）\n\n" +
         "お問い合わせの際は，上記ｴﾗｰﾒｯｾｰｼﾞおよびｴﾗｰｺｰﾄﾞをお知らせください。";
}

}  // namespace

bool HasInputFileExtension(const std::string& path) {
  return QString::fromStdString(path).right(3).toUpper() == QLatin1String("ZRN");
}

FileMessage VersionMessage(const std::string& version) {
  return {"ﾌｧｲﾙを開く", "入力ﾃﾞｰﾀﾌｧｲﾙの書式（Ver." + version + "）には現在対応しておりません。"};
}

FileMessage ReadErrorMessage(int code) {
  return {"ﾃﾞｰﾀﾌｧｲﾙ読み込みｴﾗｰ",
          "指定された入力ﾃﾞｰﾀﾌｧｲﾙの読み込みができませんでした。" + ErrorCodeTail(code)};
}

FileMessage WriteErrorMessage(int code) {
  return {"ﾃﾞｰﾀﾌｧｲﾙ書き込みｴﾗｰ",
          "入力ﾃﾞｰﾀﾌｧｲﾙを作成することができませんでした。" + ErrorCodeTail(code)};
}

OpenResult OpenInputFile(Project& project, const std::string& path) {
  OpenResult result;
  if (HasInputFileExtension(path)) {
    // A file that is not there has no version to refuse: it is the read
    // error "does not exist", and the project is not touched.
    if (path.empty() || !QFileInfo::exists(QString::fromStdString(path))) {
      result.code = fileerr::kFileNotFound;
      result.messages.push_back(ReadErrorMessage(result.code));
      return result;
    }
    const std::string version = ReadInputFileVersion(path);
    if (version != kInputFileVersion) {
      result.messages.push_back(VersionMessage(version));
    } else {
      const FileResult read = ReadInputFile(project, path);
      result.ok = read.ok;
      result.code = read.code;
    }
  }
  if (!result.ok) result.messages.push_back(ReadErrorMessage(result.code));
  return result;
}

}  // namespace hasorin
