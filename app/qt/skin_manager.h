#pragma once
// The skin choice: a name, the styles and skin folders that can be picked, and the look that the
// name gives. A Qt style of that name is applied at once; any other name keeps the default look.

#include <QString>
#include <QStringList>

namespace log2plt::qt {

class SkinManager {
 public:
  // Remembers the style in use now as the default look.
  SkinManager();

  QString SkinDirectory;
  QString SkinName = QStringLiteral("BluePlastic");
  bool Active = false;

  // Applies the look for SkinName from now on, and at every later change of the name.
  void Activate();
  // Takes a new name, and its look while active.
  void SetSkinName(const QString& name);

  // The styles that Qt offers, then the subfolders of the skin folder, in name order.
  QStringList AvailableSkins() const;
  bool IsCurrent(const QString& skin) const;

 private:
  void ApplyLook();

  QString default_style_;
};

}  // namespace log2plt::qt
