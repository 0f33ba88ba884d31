// Find against the real main window and text area: the system's Find dialog sends its messages
// (Find Next, up and down, match case, closing) and the text area selects, holds and reports.
#include <gtest/gtest.h>

#include "support/program_forms.h"
#include "ui_test_support.h"

#include <dlgs.h>

#include <string>

namespace {

constexpr const char* kNotFoundAbc =  // 「abc」が見つかりません。
    "\x81\x75"
    "abc"
    "\x81\x76\x82\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42";

class Find : public ::testing::Test, protected testsupport::ProgramForms {
protected:
    HWND Dialog() const { return main->FindDialog1.Handle(); }
    void Type(const wchar_t* text) const { SetDlgItemTextW(Dialog(), edt1, text); }
    void Check(int id, bool on) const { SendDlgItemMessageW(Dialog(), id, BM_SETCHECK, on ? BST_CHECKED : 0, 0); }
    void FindNextClick() const { SendDlgItemMessageW(Dialog(), IDOK, BM_CLICK, 0, 0); }
    core::TextSelection Selected() const { return main->Memo1.Document().Selected(); }
};

// F3 before any search opens the dialog; it belongs to the main window, hides whole words,
// proposes a short selection, and a second opening brings the same dialog forward.
TEST_F(Find, OpensOnceWithTheSelectionProposed) {
    main->Memo1.SetText("line one\r\nline two");
    SendMessageW(main->Memo1.Handle(), EM_SETSEL, 5, 8);
    main->FindAgain(false);
    ASSERT_TRUE(main->FindDialog1.IsOpen());
    EXPECT_EQ(main->Handle(), GetWindow(Dialog(), GW_OWNER));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(Dialog(), chx1)));
    wchar_t proposed[32] = {};
    GetDlgItemTextW(Dialog(), edt1, proposed, 32);
    EXPECT_STREQ(L"one", proposed);
    const HWND first = Dialog();
    main->FindF1Click(nullptr);
    EXPECT_EQ(first, Dialog());
}

// Find Next goes down from the selection, then up; match case skips the other case; at the end
// the plain box, owned by the dialog, says so and the selection stays.
TEST_F(Find, FindNextInBothDirectionsWithAndWithoutCase) {
    main->Memo1.SetText("ABC abc x abc");
    main->FindF1Click(nullptr);
    Type(L"abc");
    FindNextClick();
    EXPECT_EQ(0u, Selected().start);
    Check(chx2, true);
    FindNextClick();
    EXPECT_EQ(4u, Selected().start);
    FindNextClick();
    EXPECT_EQ(10u, Selected().start);
    EXPECT_EQ(13u, Selected().end);
    {
        uitest::MessageBoxAnswerer answerer("Varnedo", IDOK);
        FindNextClick();
        const uitest::MessageBoxSeen& seen = answerer.Wait();
        ASSERT_TRUE(seen.found);
        EXPECT_EQ(kNotFoundAbc, seen.text);
        EXPECT_EQ(Dialog(), seen.owner);
        EXPECT_FALSE(seen.hasIcon);
    }
    EXPECT_EQ(10u, Selected().start);
    Check(rad2, false);
    Check(rad1, true);
    FindNextClick();
    EXPECT_EQ(4u, Selected().start);
    Check(chx2, false);
    FindNextClick();
    EXPECT_EQ(0u, Selected().start);
}

// While the dialog is open arriving text leaves the selection; closing it lets the next piece take
// the caret to the end again, and F3 then searches on without the dialog.
TEST_F(Find, HoldsTheViewUntilClosed) {
    main->Memo1.SetText("abc abc");
    main->FindF1Click(nullptr);
    Type(L"abc");
    FindNextClick();
    main->Memo1.AppendText(" abc");
    EXPECT_EQ(0u, Selected().start);
    EXPECT_EQ(3u, Selected().end);
    SendDlgItemMessageW(Dialog(), IDCANCEL, BM_CLICK, 0, 0);
    EXPECT_FALSE(main->FindDialog1.IsOpen());
    main->FindAgain(false);
    EXPECT_EQ(4u, Selected().start);
    main->FindAgain(true);
    EXPECT_EQ(0u, Selected().start);
    main->Memo1.AppendText("\r\n");
    EXPECT_EQ(main->Memo1.TextSize(), Selected().start);
}

}  // namespace
