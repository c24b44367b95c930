#include "app/qt/skin_manager.h"

#include <QApplication>
#include <QDir>
#include <QStyle>
#include <QStyleFactory>

namespace log2plt::qt {
namespace {

bool IsStyle(const QString& name) {
  return QStyleFactory::keys().contains(name, Qt::CaseInsensitive);
}

QString CurrentStyle() { return QApplication::style()->name(); }

}  // namespace

SkinManager::SkinManager() : default_style_(CurrentStyle()) {}

void SkinManager::Activate() {
  Active = true;
  ApplyLook();
}

void SkinManager::SetSkinName(const QString& name) {
  SkinName = name;
  if (Active) ApplyLook();
}

QStringList SkinManager::AvailableSkins() const {
  QStringList skins = QStyleFactory::keys();
  if (!SkinDirectory.isEmpty()) {
    skins += QDir(SkinDirectory)
                 .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  }
  return skins;
}

bool SkinManager::IsCurrent(const QString& skin) const {
  return skin.compare(SkinName, Qt::CaseInsensitive) == 0;
}

void SkinManager::ApplyLook() {
  const QString style = IsStyle(SkinName) ? SkinName : default_style_;
  if (style.compare(CurrentStyle(), Qt::CaseInsensitive) != 0) QApplication::setStyle(style);
}

}  // namespace log2plt::qt
