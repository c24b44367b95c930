#include "platform/program.h"

#include "platform/path.h"

namespace log2plt::platform::program {

std::u16string Folder() { return std::u16string(path::FolderPart(ExecutablePath())); }

std::u16string FileName() { return std::u16string(path::NamePart(ExecutablePath())); }

}  // namespace log2plt::platform::program
