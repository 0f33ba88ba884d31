// What the headers of Debian's mingw-w64 10 lack for UI Automation: the Text pattern's two
// interfaces and enumerations, some identifiers, and the functions of uiautomationcore.dll, which
// has no i686 import library there and is loaded while the program runs (AccessibilityLibraries).
// The identifiers are Microsoft's published values.
#pragma once

#include <windows.h>

#include <ole2.h>
#include <oleacc.h>
// The header names a parameter `new`.
#define new new_
#include <uiautomationcore.h>
#include <uiautomationcoreapi.h>
#undef new

namespace ui::uia {

// 00000000-0000-0000-c000-000000000046 and 00020400-0000-0000-c000-000000000046
inline constexpr IID kIUnknownId = {0x00000000, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID kIDispatchId = {0x00020400, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// 618736e0-3c3d-11cf-810c-00aa00389b71
inline constexpr IID kIAccessibleId = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
// d6dd68d1-86fd-4332-8666-9abedea2d24c
inline constexpr IID kIRawElementProviderSimpleId = {
    0xd6dd68d1, 0x86fd, 0x4332, {0x86, 0x66, 0x9a, 0xbe, 0xde, 0xa2, 0xd2, 0x4c}};

inline constexpr int kValuePatternId = 10002;
inline constexpr int kTextPatternId = 10014;
inline constexpr int kControlTypePropertyId = 30003;
inline constexpr int kNamePropertyId = 30005;
inline constexpr int kHasKeyboardFocusPropertyId = 30008;
inline constexpr int kIsKeyboardFocusablePropertyId = 30009;
inline constexpr int kIsEnabledPropertyId = 30010;
inline constexpr int kAutomationIdPropertyId = 30011;
inline constexpr int kIsControlElementPropertyId = 30016;
inline constexpr int kIsContentElementPropertyId = 30017;
inline constexpr int kIsPasswordPropertyId = 30019;
inline constexpr int kValueValuePropertyId = 30045;
inline constexpr int kLegacyValuePropertyId = 30093;
inline constexpr int kTextControlTypeId = 50020;
inline constexpr int kDocumentControlTypeId = 50030;
inline constexpr int kTextSelectionChangedEventId = 20014;
inline constexpr int kTextChangedEventId = 20015;
inline constexpr HRESULT kElementNotAvailable = static_cast<HRESULT>(0x80040201);

enum TextUnit {
    TextUnit_Character,
    TextUnit_Format,
    TextUnit_Word,
    TextUnit_Line,
    TextUnit_Paragraph,
    TextUnit_Page,
    TextUnit_Document
};
enum TextPatternRangeEndpoint { TextPatternRangeEndpoint_Start, TextPatternRangeEndpoint_End };
enum SupportedTextSelection {
    SupportedTextSelection_None,
    SupportedTextSelection_Single,
    SupportedTextSelection_Multiple
};
enum NotificationKind {
    NotificationKind_ItemAdded,
    NotificationKind_ItemRemoved,
    NotificationKind_ActionCompleted,
    NotificationKind_ActionAborted,
    NotificationKind_Other
};
enum NotificationProcessing {
    NotificationProcessing_ImportantAll,
    NotificationProcessing_ImportantMostRecent,
    NotificationProcessing_All,
    NotificationProcessing_MostRecent,
    NotificationProcessing_CurrentThenMostRecent
};

struct Point {
    double x;
    double y;
};

struct ITextRangeProvider;

// c7935180-6fb3-4201-b174-7df73adbf64a
inline constexpr IID kIValueProviderId = {0xc7935180, 0x6fb3, 0x4201, {0xb1, 0x74, 0x7d, 0xf7, 0x3a, 0xdb, 0xf6, 0x4a}};

struct IValueProvider : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetValue(LPCWSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Value(BSTR* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* result) = 0;
};

// 3589c92c-63f3-4367-99bb-ada653b77cf2
inline constexpr IID kITextProviderId = {0x3589c92c, 0x63f3, 0x4367, {0x99, 0xbb, 0xad, 0xa6, 0x53, 0xb7, 0x7c, 0xf2}};
// 5347ad7b-c355-46f8-aff5-909033582f63
inline constexpr IID kITextRangeProviderId = {
    0x5347ad7b, 0xc355, 0x46f8, {0xaf, 0xf5, 0x90, 0x90, 0x33, 0x58, 0x2f, 0x63}};

struct ITextProvider : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetSelection(SAFEARRAY** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVisibleRanges(SAFEARRAY** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE RangeFromChild(IRawElementProviderSimple* child, ITextRangeProvider** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE RangeFromPoint(Point point, ITextRangeProvider** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DocumentRange(ITextRangeProvider** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SupportedTextSelection(SupportedTextSelection* result) = 0;
};

struct ITextRangeProvider : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Clone(ITextRangeProvider** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE Compare(ITextRangeProvider* range, BOOL* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE CompareEndpoints(TextPatternRangeEndpoint endpoint, ITextRangeProvider* target,
                                                       TextPatternRangeEndpoint targetEndpoint, int* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExpandToEnclosingUnit(TextUnit unit) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindAttribute(int attribute, VARIANT value, BOOL backward,
                                                    ITextRangeProvider** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindText(BSTR text, BOOL backward, BOOL ignoreCase,
                                               ITextRangeProvider** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAttributeValue(int attribute, VARIANT* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetBoundingRectangles(SAFEARRAY** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetEnclosingElement(IRawElementProviderSimple** result) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetText(int maxLength, BSTR* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE Move(TextUnit unit, int count, int* moved) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveEndpointByUnit(TextPatternRangeEndpoint endpoint, TextUnit unit, int count,
                                                         int* moved) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveEndpointByRange(TextPatternRangeEndpoint endpoint, ITextRangeProvider* target,
                                                          TextPatternRangeEndpoint targetEndpoint) = 0;
    virtual HRESULT STDMETHODCALLTYPE Select() = 0;
    virtual HRESULT STDMETHODCALLTYPE AddToSelection() = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveFromSelection() = 0;
    virtual HRESULT STDMETHODCALLTYPE ScrollIntoView(BOOL alignToTop) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetChildren(SAFEARRAY** result) = 0;
};

// The functions of uiautomationcore.dll the program uses.
using ReturnRawElementProviderFunction = LRESULT(WINAPI*)(HWND, WPARAM, LPARAM, IRawElementProviderSimple*);
using HostProviderFromHwndFunction = HRESULT(WINAPI*)(HWND, IRawElementProviderSimple**);
using RaiseAutomationEventFunction = HRESULT(WINAPI*)(IRawElementProviderSimple*, int);
using DisconnectProviderFunction = HRESULT(WINAPI*)(IRawElementProviderSimple*);
using RaiseNotificationEventFunction = HRESULT(WINAPI*)(IRawElementProviderSimple*, NotificationKind,
                                                        NotificationProcessing, BSTR, BSTR);
// And of oleacc.dll.
using LresultFromObjectFunction = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using CreateStdAccessibleObjectFunction = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);

}  // namespace ui::uia
