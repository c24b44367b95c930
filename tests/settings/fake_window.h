#pragma once
// A window as the window-state saver sees it, with the numbers of a 1920 x 1080 screen at 96
// pixels per inch and the main window's three stored texts.

#include <map>
#include <string>
#include <utility>

#include "base/error.h"
#include "settings/saved_window.h"

namespace log2plt::testing {

class FakeWindow : public SavedWindow {
 public:
  FakeWindow() {
    placement.flags = 0;
    placement.show_command = 1;
    placement.min_position = {-1, -1};
    placement.max_position = {-1, -1};
    placement.normal_position = {312, 204, 737, 422};
  }

  std::u16string ComponentName() const override { return u"Form7"; }
  WindowPlacement Placement() const override { return placement; }
  void SetPlacement(const WindowPlacement& record) override {
    placement = record;
    ++placements_set;
  }
  bool IsVisible() const override { return visible; }
  WindowPoint Position() const override {
    return {placement.normal_position.left, placement.normal_position.top};
  }
  WindowSize OuterSize() const override { return {425, 218}; }
  void KeepOwnPosition() override { keeps_own_position = true; }
  std::int32_t PixelsPerInch() const override { return pixels_per_inch; }
  WindowSize PrimaryScreenSize() const override { return screen; }
  WindowSize ThinBorderSize() const override { return {1, 1}; }

  bool HasComponent(std::u16string_view component) const override {
    return component == u"FilenameEditIn" || component == u"FilenameEditOut" ||
           component == u"SkinManager";
  }
  std::u16string PropertyText(std::u16string_view component,
                              std::u16string_view property) const override {
    return properties.at(Key(component, property));
  }
  void SetPropertyText(std::u16string_view component, std::u16string_view property,
                       std::u16string_view text) override {
    const std::u16string key = Key(component, property);
    if (key == refused_property) throw Error(u"Cannot take " + key);
    properties.at(key) = text;
  }

  WindowPlacement placement;
  bool visible = false;
  std::int32_t pixels_per_inch = 96;
  WindowSize screen{1920, 1080};
  int placements_set = 0;
  bool keeps_own_position = false;
  std::u16string refused_property;
  std::map<std::u16string, std::u16string> properties{
      {u"FilenameEditIn.Text", u""},
      {u"FilenameEditOut.Text", u""},
      {u"SkinManager.SkinName", u"BluePlastic"},
  };

 private:
  static std::u16string Key(std::u16string_view component, std::u16string_view property) {
    return std::u16string(component) + u"." + std::u16string(property);
  }
};

}  // namespace log2plt::testing
