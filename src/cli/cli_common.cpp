#include "cli_common.h"

#include <QFileInfo>
#include <QString>
#include <cmath>

#include "numfmt.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace hasorin::cli {

void UseUtf8Console() {
#ifdef _WIN32
  SetConsoleOutputCP(CP_UTF8);
#endif
}

void PrintMessage(std::FILE* out, const FileMessage& message) {
  std::fprintf(out, "[%s]\n%s\n", message.title.c_str(), message.text.c_str());
}

bool OpenProject(const std::string& path, Project& project) {
  OpenResult result = OpenInputFile(project, path);
  if (!result.ok) {
    for (size_t i = 0; i < result.messages.size(); ++i) {
      if (i > 0) std::fputc('\n', stderr);
      PrintMessage(stderr, result.messages[i]);
    }
    std::fflush(stderr);
    return false;
  }
  project.CurrentFilePath = QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString();
  return true;
}

std::string ValueText(const ProjectValue& value) {
  switch (value.kind()) {
    case ProjectValue::Kind::Text: return value.text();
    case ProjectValue::Kind::Integer: return std::to_string(value.integer());
    case ProjectValue::Kind::Real: return FormatGeneral(value.real());
    case ProjectValue::Kind::Boolean: return value.boolean() ? "#TRUE#" : "#FALSE#";
    case ProjectValue::Kind::Empty: break;
  }
  return {};
}

std::string OptionText(const ProjectValue& value, const std::vector<std::string>& options) {
  const double n = value.number();
  if (value.isNumber() && n == std::floor(n) && n >= 0 && n < double(options.size()))
    return options[size_t(n)];
  return ValueText(value);
}

}  // namespace hasorin::cli
