#include "app/qt/browse_names.h"

namespace log2plt::qt {
namespace {

qsizetype AfterLastSeparator(const QString& name) { return name.lastIndexOf(u'/') + 1; }

}  // namespace

bool IsValidFileName(const QString& name) {
  return !name.isEmpty() && !name.contains(u'*') && !name.contains(u'?');
}

QString FolderPart(const QString& name) { return name.left(AfterLastSeparator(name)); }

QString NamePart(const QString& name) { return name.mid(AfterLastSeparator(name)); }

QString StartingFolder(const QString& folder_part) {
  QString folder = folder_part;
  while (folder.size() > 1 && folder.endsWith(u'/')) folder.chop(1);
  return folder;
}

}  // namespace log2plt::qt
