// The control helpers on real controls.
#include <windows.h>
// System headers below need windows.h first.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "ui/toolkit/controls_win.h"

namespace spinox::e2e {
namespace {

enum : int { kEdit = 10, kList, kCheck, kPicker, kCombo, kListBox, kScroll, kProgress };

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_DATE_CLASSES |
                                                ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    dlg = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr,
                          nullptr);
    Make("EDIT", kEdit, ES_MULTILINE | ES_AUTOVSCROLL);
    Make(WC_LISTVIEWA, kList, LVS_REPORT);
    Make("BUTTON", kCheck, BS_AUTO3STATE);
    Make(DATETIMEPICK_CLASSA, kPicker, 0);
    Make("COMBOBOX", kCombo, CBS_DROPDOWNLIST);
    Make("LISTBOX", kListBox, 0);
    Make("SCROLLBAR", kScroll, SBS_HORZ);
    Make(PROGRESS_CLASSA, kProgress, 0);
  }
  void TearDown() override { DestroyWindow(dlg); }

  void Make(const char* cls, int id, DWORD style) {
    CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 200, 100, dlg,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  }
  std::string Text(int id) {
    char text[200] = {};
    GetText(dlg, id, text, sizeof text);
    return text;
  }

  HWND dlg = nullptr;
};

TEST_F(ControlsTest, EditFieldsAsNumbers) {
  SetText(dlg, kEdit, "");
  EXPECT_EQ(ED_GetInt(dlg, kEdit), 0);
  EXPECT_EQ(Text(kEdit), "0") << "an empty field is given its 0";
  SetText(dlg, kEdit, "12abc");
  EXPECT_EQ(ED_GetInt(dlg, kEdit), 12);
  SetText(dlg, kEdit, " -7");
  EXPECT_EQ(ED_GetInt(dlg, kEdit), -7);
  ED_SetInt(dlg, kEdit, -2147483647 - 1);
  EXPECT_EQ(ED_GetInt(dlg, kEdit), -2147483647 - 1);
}

TEST_F(ControlsTest, MultiLineText) {
  ED_SetMultiText(dlg, kEdit, "a\nb", 200);
  EXPECT_EQ(Text(kEdit), "a\r\nb");
  EXPECT_EQ(SendDlgItemMessageA(dlg, kEdit, EM_GETLINECOUNT, 0, 0), 2);
  char back[200];
  ED_GetMultiText(dlg, kEdit, back, sizeof back);
  EXPECT_STREQ(back, "a\nb");
  ED_GetMultiText(dlg, kEdit, back, 3);
  EXPECT_STREQ(back, "a");
}

TEST_F(ControlsTest, ListViewRowsAndColumns) {
  LV_InsertColumn(dlg, kList, "#", 0, 40, LVCFMT_LEFT);
  LV_InsertColumn(dlg, kList, "Hits", 1, 60, LVCFMT_CENTER);
  EXPECT_EQ(LV_GetClmnAlign(dlg, kList, 1), 2);
  EXPECT_EQ(LV_GetClmnAlign(dlg, kList, 0), 0);
  char text[50] = {};
  EXPECT_TRUE(LV_GetClmnText(dlg, kList, 1, text, sizeof text));
  EXPECT_STREQ(text, "Hits");
  EXPECT_EQ(LV_InsertItem(dlg, kList, "first"), 0);
  for (int i = 1; i < 5; ++i) LV_InsertItem(dlg, kList, "");
  EXPECT_EQ(LV_InsertItem(dlg, kList, "sixth"), 5);
  LV_SetSubItem(dlg, kList, "3.0", 2, 1);
  EXPECT_EQ(LV_GetText(dlg, kList, 2, 1, text, sizeof text), 3);
  EXPECT_STREQ(text, "3.0");
  EXPECT_EQ(LV_GetSelected(dlg, kList), -1);
  LVITEMA item = {};
  item.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
  item.state = LVIS_FOCUSED;
  SendDlgItemMessageA(dlg, kList, LVM_SETITEMSTATE, 3, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(LV_GetSelected(dlg, kList), 3) << "the focused row, selected or not";
  LV_SetColumnWidth(dlg, kList, 0, 77);
  EXPECT_EQ(LV_GetColumnWidth(dlg, kList, 0), 77);
  EXPECT_EQ(LV_Count(dlg, kList), 6);
  LV_Clear(dlg, kList);
  EXPECT_EQ(LV_Count(dlg, kList), 0);
  EXPECT_EQ(GetWindowWidth(dlg, kList), 200);
}

TEST_F(ControlsTest, CheckBoxes) {
  SendDlgItemMessageA(dlg, kCheck, BM_SETCHECK, BST_INDETERMINATE, 0);
  EXPECT_EQ(CHK_IsChecked(dlg, kCheck), 0);
  CHK_Check(dlg, kCheck);
  EXPECT_EQ(CHK_IsChecked(dlg, kCheck), 1);
  CHK_UnCheck(dlg, kCheck);
  EXPECT_EQ(CHK_IsChecked(dlg, kCheck), 0);
}

TEST_F(ControlsTest, CombosAndListBoxes) {
  EXPECT_EQ(CBO_GetCurString(dlg, kCombo, nullptr, 0), -1);
  CBO_InsertItem(dlg, kCombo, "None");
  CBO_InsertItem(dlg, kCombo, "Winamp Playlist");
  EXPECT_EQ(CBO_Count(dlg, kCombo), 2);
  char text[8];
  EXPECT_EQ(CBO_GetCurString(dlg, kCombo, text, sizeof text), -1) << "no selection";
  EXPECT_EQ(CBO_SelectString(dlg, kCombo, "Win"), 1);
  EXPECT_EQ(CBO_Current(dlg, kCombo), 1);
  EXPECT_EQ(CBO_GetCurString(dlg, kCombo, text, sizeof text), 7) << "cut to the buffer";
  EXPECT_STREQ(text, "Winamp ");
  EXPECT_EQ(CBO_GetString(dlg, kCombo, 0, text, sizeof text), 4);
  EXPECT_EQ(CBO_SetCurSel(dlg, kCombo, 5), -1);
  CBO_Clear(dlg, kCombo);
  EXPECT_EQ(CBO_Count(dlg, kCombo), 0);
  EXPECT_EQ(LST_InsertItem(dlg, kListBox, "General"), 0);
  EXPECT_EQ(LST_InsertItem(dlg, kListBox, "Backup"), 1);
  EXPECT_EQ(LST_Current(dlg, kListBox), -1);
  EXPECT_EQ(LST_SetCurSel(dlg, kListBox, 1), 1);
  EXPECT_EQ(LST_Current(dlg, kListBox), 1);
}

TEST_F(ControlsTest, ScrollAndProgressBars) {
  SC_SetRange(dlg, kScroll, 0, 20);
  SC_SetPos(dlg, kScroll, 25);
  EXPECT_EQ(SC_GetPos(dlg, kScroll), 20) << "kept within the range";
  PB_SetRange(dlg, kProgress, 0, 10, 2);
  EXPECT_EQ(PB_Step(dlg, kProgress), 0);
  EXPECT_EQ(SendDlgItemMessageA(dlg, kProgress, PBM_GETPOS, 0, 0), 2);
  Enable(dlg, kScroll, 0);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, kScroll)));
  Show(dlg, kScroll, 0);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dlg, kScroll)));
}

// Local time with the daylight rule: the suite runs in Europe/Berlin, UTC+2 in July.
TEST_F(ControlsTest, PickerTimesAreLocal) {
  SYSTEMTIME picked = {2024, 7, 1, 15, 13, 37, 5, 0};
  SendDlgItemMessageA(dlg, kPicker, DTM_SETSYSTEMTIME, GDT_VALID,
                      reinterpret_cast<LPARAM>(&picked));
  EXPECT_EQ(PickerDayStart(GetSelFields(dlg, kPicker)), 1720994400);  // 2024-07-14 22:00 UTC
  SetSelTime(dlg, kPicker, 1720994400);                               // 2024-07-14 22:00:00 UTC
  SYSTEMTIME shown = {};
  SendDlgItemMessageA(dlg, kPicker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
  EXPECT_EQ(shown.wYear, 2024);
  EXPECT_EQ(shown.wMonth, 7);
  EXPECT_EQ(shown.wDay, 15);
  EXPECT_EQ(shown.wHour, 0);
}

}  // namespace
}  // namespace spinox::e2e
