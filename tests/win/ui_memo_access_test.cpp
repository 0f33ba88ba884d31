// The text area's UI Automation element and Text pattern, called in process as a client's calls
// arrive: Wine has no client side for the Text pattern. The unit rules themselves are tested on
// Linux (tests/core/text_units_test.cpp); here they meet the real window, its rows and its screen.
#include <gtest/gtest.h>

#include "ui/accessibility_libraries.h"
#include "ui/font.h"
#include "ui/form.h"
#include "ui/memo.h"
#include "ui/uia_declarations.h"
#include "ui_test_support.h"

#include <memory>
#include <string>

namespace {

using ui::uia::ITextProvider;
using ui::uia::ITextRangeProvider;

struct AccessForm : ui::Form {
    AccessForm() : ui::Form({.caption = "AccessForm", .width = 600, .height = 400}) { Show(); }
    ui::Memo memo{*this,
                  {.bounds = {0, 0, 500, 200}, .font = ui::FontDescription{.face = ui::kFixedGothic, .points = 14}}};
};

template <class T>
struct Ref {
    T* p = nullptr;
    ~Ref() {
        if (p) p->Release();
    }
    T* operator->() const { return p; }
    T** operator&() { return &p; }
};

std::wstring Text(ITextRangeProvider* range, int most = -1) {
    BSTR text = nullptr;
    EXPECT_EQ(S_OK, range->GetText(most, &text));
    std::wstring result(text ? text : L"", text ? SysStringLen(text) : 0);
    SysFreeString(text);
    return result;
}

ITextRangeProvider* FirstRange(SAFEARRAY* array) {
    IUnknown* first = nullptr;
    LONG index = 0;
    SafeArrayGetElement(array, &index, &first);
    SafeArrayDestroy(array);
    ITextRangeProvider* range = nullptr;
    first->QueryInterface(ui::uia::kITextRangeProviderId, reinterpret_cast<void**>(&range));
    first->Release();
    return range;
}

class TextPattern : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<AccessForm>();
        form->memo.SetAccessibleName("\x8E\xF3\x90\x4D");  // 受信
        element.p = form->memo.AutomationElement();
        ASSERT_NE(nullptr, element.p);
        IUnknown* pattern = nullptr;
        ASSERT_EQ(S_OK, element->GetPatternProvider(ui::uia::kTextPatternId, &pattern));
        ASSERT_NE(nullptr, pattern);
        pattern->QueryInterface(ui::uia::kITextProviderId, reinterpret_cast<void**>(&text));
        pattern->Release();
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageW(form->memo.Handle(), message, wParam, lParam);
    }
    std::unique_ptr<AccessForm> form;
    Ref<IRawElementProviderSimple> element;
    Ref<ITextProvider> text;
};

// The element is a focusable document under the name the program gives it.
TEST_F(TextPattern, TheElementIsANamedFocusableDocument) {
    VARIANT value;
    ASSERT_EQ(S_OK, element->GetPropertyValue(ui::uia::kControlTypePropertyId, &value));
    EXPECT_EQ(ui::uia::kDocumentControlTypeId, value.lVal);
    ASSERT_EQ(S_OK, element->GetPropertyValue(ui::uia::kNamePropertyId, &value));
    EXPECT_EQ(std::wstring(L"\u53D7\u4FE1"), value.bstrVal);
    VariantClear(&value);
    ASSERT_EQ(S_OK, element->GetPropertyValue(ui::uia::kIsKeyboardFocusablePropertyId, &value));
    EXPECT_EQ(VARIANT_TRUE, value.boolVal);
}

// The whole text, the selection (or the caret), the rows on the screen; text comes converted and
// never longer than asked.
TEST_F(TextPattern, RangesHoldTheTextTheSelectionAndTheScreen) {
    form->memo.SetText("ab\x82\xA0\r\nline 2\r\nline 3");  // ab あ
    Ref<ITextRangeProvider> all;
    ASSERT_EQ(S_OK, text->get_DocumentRange(&all));
    EXPECT_EQ(L"ab\u3042\r\nline 2\r\nline 3", Text(all.p));
    EXPECT_EQ(L"ab\u3042", Text(all.p, 3)) << "three characters, the two-byte one whole";
    Send(EM_SETSEL, 6, 10);
    SAFEARRAY* ranges = nullptr;
    ASSERT_EQ(S_OK, text->GetSelection(&ranges));
    Ref<ITextRangeProvider> selection{FirstRange(ranges)};
    EXPECT_EQ(L"line", Text(selection.p));
    Send(EM_SETSEL, 2, 2);
    ASSERT_EQ(S_OK, text->GetSelection(&ranges));
    Ref<ITextRangeProvider> caret{FirstRange(ranges)};
    EXPECT_EQ(L"", Text(caret.p));
    ASSERT_EQ(S_OK, caret->ExpandToEnclosingUnit(ui::uia::TextUnit_Character));
    EXPECT_EQ(L"\u3042", Text(caret.p)) << "the caret stands before the two-byte character";
    ASSERT_EQ(S_OK, text->GetVisibleRanges(&ranges));
    Ref<ITextRangeProvider> visible{FirstRange(ranges)};
    EXPECT_EQ(L"ab\u3042\r\nline 2\r\nline 3", Text(visible.p));
}

// Lines are the rows on the screen: a range moves by them, selects, scrolls and has a box for each
// row it covers; a point on the screen gives the character there.
TEST_F(TextPattern, RangesMoveSelectScrollAndMeetTheScreen) {
    std::string lines;
    for (int i = 0; i < 50; ++i) lines += "row " + std::to_string(i) + "\r\n";
    form->memo.SetText(lines);
    Send(EM_SETSEL, 0, 0);
    Send(EM_LINESCROLL, 0, -100);
    SAFEARRAY* ranges = nullptr;
    ASSERT_EQ(S_OK, text->GetSelection(&ranges));
    Ref<ITextRangeProvider> range{FirstRange(ranges)};
    ASSERT_EQ(S_OK, range->ExpandToEnclosingUnit(ui::uia::TextUnit_Line));
    int moved = 0;
    ASSERT_EQ(S_OK, range->Move(ui::uia::TextUnit_Line, 40, &moved));
    EXPECT_EQ(40, moved);
    EXPECT_EQ(L"row 40\r\n", Text(range.p));
    ASSERT_EQ(S_OK, range->ScrollIntoView(TRUE));
    EXPECT_EQ(40, Send(EM_GETFIRSTVISIBLELINE)) << "aligned to the top";
    ASSERT_EQ(S_OK, range->Select());
    DWORD start = 0, end = 0;
    Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(lines.find("row 40"), start);
    EXPECT_EQ(lines.find("row 41"), end);
    ASSERT_EQ(S_OK,
              range->MoveEndpointByUnit(ui::uia::TextPatternRangeEndpoint_End, ui::uia::TextUnit_Line, 1, &moved));
    SAFEARRAY* boxes = nullptr;
    ASSERT_EQ(S_OK, range->GetBoundingRectangles(&boxes));
    ASSERT_EQ(8u, boxes->rgsabound[0].cElements) << "two rows, four numbers each";
    double left = 0, top = 0;
    LONG index = 0;
    SafeArrayGetElement(boxes, &index, &left);
    index = 1;
    SafeArrayGetElement(boxes, &index, &top);
    SafeArrayDestroy(boxes);
    Ref<ITextRangeProvider> hit;
    ASSERT_EQ(S_OK, text->RangeFromPoint({left + 1, top + 1}, &hit));
    int order = 1;
    ASSERT_EQ(S_OK, hit->CompareEndpoints(ui::uia::TextPatternRangeEndpoint_Start, range.p,
                                          ui::uia::TextPatternRangeEndpoint_Start, &order));
    EXPECT_EQ(0, order) << "the point at the first box is the range's start";
}

// A range a client holds follows the text: an edit before it, the text cleared; once the
// text area is gone every call says the element is no longer there.
TEST_F(TextPattern, HeldRangesFollowTheTextAndOutliveTheTextArea) {
    form->memo.SetText("first\r\nsecond\r\n");
    Ref<ITextRangeProvider> range;
    ASSERT_EQ(S_OK, text->get_DocumentRange(&range));
    int moved = 0;
    ASSERT_EQ(S_OK,
              range->MoveEndpointByUnit(ui::uia::TextPatternRangeEndpoint_Start, ui::uia::TextUnit_Line, 1, &moved));
    EXPECT_EQ(L"second\r\n", Text(range.p));
    form->memo.AppendText("third\r\n");
    Send(EM_SETSEL, 0, 7);
    Send(WM_CLEAR);
    EXPECT_EQ(L"second\r\n", Text(range.p)) << "moved back with its text";
    form->memo.Clear();
    EXPECT_EQ(L"", Text(range.p));
    form.reset();
    BSTR gone = nullptr;
    EXPECT_EQ(ui::uia::kElementNotAvailable, range->GetText(-1, &gone));
    VARIANT value;
    EXPECT_EQ(ui::uia::kElementNotAvailable, element->GetPropertyValue(ui::uia::kNamePropertyId, &value));
    EXPECT_EQ(ui::uia::kElementNotAvailable, text->get_DocumentRange(&range));
}

// Without the accessibility DLLs the text area answers as a plain window and works as ever.
TEST(TextAreaAccess, WorksWithoutTheAccessibilityLibraries) {
    ui::LoadAccessibilityLibraries(L"no-such-oleacc.dll", L"no-such-uiautomationcore.dll");
    {
        AccessForm form;
        EXPECT_EQ(nullptr, form.memo.AutomationElement());
        EXPECT_EQ(0, SendMessageW(form.memo.Handle(), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT)));
        EXPECT_EQ(0, SendMessageW(form.memo.Handle(), WM_GETOBJECT, 0, static_cast<LPARAM>(UiaRootObjectId)));
        form.memo.AppendText("still here\r\n");
        uitest::PumpMessages(300);
        EXPECT_EQ("still here\r\n", form.memo.Text());
    }
    ui::LoadAccessibilityLibraries(L"oleacc.dll", L"uiautomationcore.dll");
    AccessForm form;
    EXPECT_NE(0, SendMessageW(form.memo.Handle(), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT)));
}

}  // namespace
