#pragma once
// Replacing a file the user owns (a project, Zrn.INI, a PDF) without ever
// damaging it: the bytes go to a temporary file beside the target, every
// write, the flush to disk and the close are checked, and only a complete
// file is renamed over the target.
#include <string>
#include <string_view>

namespace hasorin {

// 0, or the errno of the first step that failed (ENOSPC and EFBIG for a full
// disk or a size limit). On failure the target is unchanged and no temporary
// file is left. Leftovers of an earlier save of the same target that was
// killed half-way are removed first; other files are never touched. A
// read-only target is refused (EACCES), as the folder's permissions are not
// what protects it.
int ReplaceFileContents(const std::string& path, std::string_view bytes);

// True for a name ReplaceFileContents gives its temporary file for `target`
// (the file name without folder): "<target>.~save-" and six letters or digits.
bool IsSaveLeftoverName(std::string_view name, std::string_view target);

}  // namespace hasorin
