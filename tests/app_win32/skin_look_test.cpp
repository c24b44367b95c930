// The skins as the Windows window draws them, probed pixel by pixel on the screen: the shipped
// skins' backgrounds, button faces (hot under the real pointer), shadows and message boxes; the
// system's look without a skin; a broken skin; the title bar's calls; and no GDI object left
// behind by a hundred switches.

#include <cstdlib>
#include <string>
#include <vector>

#include "app/skin_paint.h"
#include "app/win32/gdi.h"
#include "app/win32/skin_painter.h"
#include "app/win32/system_calls.h"
#include "base/wide.h"
#include "window_fixture.h"

namespace log2plt::win32::gui_test {
namespace {

using window::SkinKey;
using window::SkinSection;
using window::SkinState;

::testing::AssertionResult Near(COLORREF actual, window::Rgb expected) {
  const auto close = [](int a, int b) { return std::abs(a - b) <= 2; };
  if (close(GetRValue(actual), expected.red) && close(GetGValue(actual), expected.green) &&
      close(GetBValue(actual), expected.blue)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "pixel " << GetRValue(actual) << "," << GetGValue(actual) << "," << GetBValue(actual)
         << " is not near " << int{expected.red} << "," << int{expected.green} << ","
         << int{expected.blue};
}

COLORREF PixelOf(HWND window, int x, int y) {
  const WindowDc dc(window);
  return GetPixel(dc, x, y);
}

int ClientHeight(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  return client.bottom;
}

class SkinLookTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    wchar_t program[MAX_PATH];
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring folder = program;
    folder.resize(folder.rfind(L'\\') + 1);
    form_->SkinManager.SkinDirectory = FromWide(folder + L"ShippedSkins");
  }
  void Pick(const char16_t* name) {
    form_->RunHandler([&] { form_->PickSkin(name); });
    UpdateWindow(form_->Handle());
    PumpMessages();
  }
};

TEST_F(SkinLookTest, EachShippedSkinPaintsTheWindowAndTheButtonAsItsFileSays) {
  for (const char16_t* name : {u"BluePlastic", u"Graphite"}) {
    SCOPED_TRACE(std::string(name, name + 5));
    Pick(name);
    ASSERT_NE(form_->CurrentSkin(), nullptr);
    const window::Skin& skin = *form_->CurrentSkin();
    const HWND window = form_->Handle();
    const int height = ClientHeight(window);
    const window::SkinFill form = *window::FillOf(skin, SkinSection::kForm, SkinState::kNormal);
    for (const int y : {2, height / 3, height - 3}) {
      EXPECT_TRUE(Near(PixelOf(window, 2, y), window::FillColourAt(form, y, height))) << y;
    }
    const HWND button = form_->sBitBtn1;
    const int button_height = ClientHeight(button);
    const window::SkinFill face = *window::FillOf(skin, SkinSection::kButton, SkinState::kFocused);
    for (const int y : {button_height / 4, button_height - 5}) {
      EXPECT_TRUE(Near(PixelOf(button, 8, y), window::FillColourAt(face, y, button_height))) << y;
    }
    // A field's inside, and its border.
    EXPECT_TRUE(Near(PixelOf(form_->FilenameEditOut, 40, 8),
                     *skin.Colour(SkinSection::kEdit, SkinKey::kColor)));
    // The caption's shadow is darker than the window behind it.
    const HWND label = form_->sLabelFX1;
    RECT area;
    GetClientRect(label, &area);
    const COLORREF beside = PixelOf(label, area.right - 2, 2);
    const auto lightness = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
    int darker = 0;
    for (int x = 0; x < area.right; x += 2) {
      for (int y = 0; y < area.bottom; y += 2) {
        const COLORREF pixel = PixelOf(label, x, y);
        darker += lightness(pixel) + 60 < lightness(beside) &&
                  !Near(pixel, *skin.Colour(SkinSection::kLabel, SkinKey::kText));
      }
    }
    EXPECT_GT(darker, 10) << "no shadow under the caption";
  }
}

TEST_F(SkinLookTest, TheButtonLightsUpUnderTheRealPointer) {
  Pick(u"BluePlastic");
  const window::Skin& skin = *form_->CurrentSkin();
  const HWND button = form_->sBitBtn1;
  SetFocus(form_->FilenameEditOut);
  RECT bounds;
  GetWindowRect(button, &bounds);
  SetForegroundWindow(form_->Handle());
  INPUT move{};
  move.type = INPUT_MOUSE;
  move.mi.dx = ((bounds.left + bounds.right) / 2) * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  move.mi.dy = ((bounds.top + bounds.bottom) / 2) * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  ASSERT_EQ(SendInput(1, &move, sizeof(move)), 1u);
  for (int tick = 0; tick < 20; ++tick) {
    PumpMessages();
    Sleep(10);
  }
  UpdateWindow(button);
  const int height = ClientHeight(button);
  const window::SkinFill hot = *window::FillOf(skin, SkinSection::kButton, SkinState::kHot);
  EXPECT_TRUE(Near(PixelOf(button, 8, height - 5), window::FillColourAt(hot, height - 5, height)));
}

// The message box is read while it is up, from its own loop, then closed.
COLORREF box_pixel = CLR_INVALID;
void CALLBACK ReadBoxAndClose(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND box = FindWindowW(L"#32770", L"Skinned");
  if (!box) return;
  KillTimer(nullptr, timer);
  UpdateWindow(box);
  RECT client;
  GetClientRect(box, &client);
  box_pixel = PixelOf(box, 3, client.bottom / 3);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST_F(SkinLookTest, MessageBoxesAreTheSystemsOwnInTheSkinsColours) {
  Pick(u"Graphite");
  box_pixel = CLR_INVALID;
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, &ReadBoxAndClose);
  EXPECT_EQ(MessageBoxW(form_->Handle(), L"Text", L"Skinned", MB_OK | MB_ICONSTOP), IDOK);
  KillTimer(nullptr, timer);
  EXPECT_TRUE(
      Near(box_pixel, *form_->CurrentSkin()->Colour(SkinSection::kDialog, SkinKey::kColor)));
  // Without a skin the box is the system's again.
  Pick(u"NoSuchSkin");
  box_pixel = CLR_INVALID;
  const UINT_PTR again = SetTimer(nullptr, 0, 100, &ReadBoxAndClose);
  MessageBoxW(form_->Handle(), L"Text", L"Skinned", MB_OK);
  KillTimer(nullptr, again);
  EXPECT_EQ(box_pixel, GetSysColor(COLOR_BTNFACE));
}

TEST_F(SkinLookTest, WithoutASkinTheSystemsColoursStayAndNothingNags) {
  Pick(u"NoSuchSkin");
  EXPECT_EQ(form_->CurrentSkin(), nullptr);
  EXPECT_EQ(PixelOf(form_->Handle(), 2, 2), GetSysColor(COLOR_BTNFACE));
  EXPECT_TRUE(FakeDialogs::boxes.empty());
}

TEST_F(SkinLookTest, ABrokenSkinSaysWhereAndKeepsTheSystemsLook) {
  const TempFolder folder;
  CreateDirectoryW((folder / L"Night").c_str(), nullptr);
  WriteFileBytes(folder / L"Night\\skin.ini", "[FORM]\r\n\r\nColor=#12G456\r\n");
  form_->SkinManager.SkinDirectory = FromWide(folder.Path());
  Pick(u"Night");
  EXPECT_EQ(form_->CurrentSkin(), nullptr);
  ASSERT_EQ(FakeDialogs::boxes.size(), 1u);
  EXPECT_EQ(FakeDialogs::boxes[0].text, L"Skin \"Night\", line 3: \"#12G456\" is not a colour.");
  EXPECT_EQ(PixelOf(form_->Handle(), 2, 2), GetSysColor(COLOR_BTNFACE));
}

TEST_F(SkinLookTest, AHundredSwitchesLeaveNoDrawingObjectBehind) {
  Pick(u"BluePlastic");
  const int held = HeldGdiObjects();
  for (int k = 0; k < 100; ++k) {
    Pick(k % 2 ? u"BluePlastic" : u"Graphite");
  }
  Pick(u"BluePlastic");
  EXPECT_EQ(HeldGdiObjects(), held);
}

struct AttributeCall {
  DWORD attribute;
  DWORD value;
};
std::vector<AttributeCall> attribute_calls;
DWORD fake_build = 0;
HRESULT WINAPI RecordAttribute(HWND, DWORD attribute, LPCVOID value, DWORD) {
  attribute_calls.push_back({attribute, *static_cast<const DWORD*>(value)});
  return S_OK;
}
DWORD FakeBuild() { return fake_build; }

TEST_F(SkinLookTest, TheTitleBarFollowsTheSystemsBuildNotTheCallsResults) {
  System().set_window_attribute = &RecordAttribute;
  System().build_number = &FakeBuild;
  const struct {
    DWORD build;
    std::vector<DWORD> attributes;
  } cases[] = {{17134, {}}, {17763, {19}}, {19045, {20}}, {22631, {20, 35, 36, 34}}};
  for (const auto& row : cases) {
    SCOPED_TRACE(row.build);
    fake_build = row.build;
    attribute_calls.clear();
    Pick(u"Graphite");
    std::vector<DWORD> attributes;
    for (const AttributeCall& call : attribute_calls) attributes.push_back(call.attribute);
    EXPECT_EQ(attributes, row.attributes);
    if (!attribute_calls.empty()) {
      EXPECT_EQ(attribute_calls[0].value, 1u) << "Graphite is dark";
    }
    if (row.build >= 22000) {
      const window::Rgb caption =
          *form_->CurrentSkin()->Colour(SkinSection::kForm, SkinKey::kColor);
      EXPECT_EQ(attribute_calls[1].value, ColourRef(caption));
    }
  }
}

}  // namespace
}  // namespace log2plt::win32::gui_test
