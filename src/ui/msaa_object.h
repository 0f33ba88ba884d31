// A window's IAccessible for screen readers and tools that speak MSAA: role, name, value and
// states come from the window's own facts; place, hit testing and navigation from the system's
// standard object for the window. Once disconnected (the window is going) every call answers
// CO_E_OBJNOTCONNECTED and nothing of the window is touched again.
#pragma once

#include "ui/uia_declarations.h"

#include <optional>
#include <string>

namespace ui {

// What a window tells MSAA about itself; asked on the window's thread.
class AccessibleFacts {
public:
    virtual long Role() = 0;
    virtual std::wstring Name() = 0;
    virtual std::wstring Value() = 0;
    virtual bool Focused() = 0;
    virtual bool Focusable() = 0;

protected:
    ~AccessibleFacts() = default;
};

class MsaaObject final : public IAccessible {
public:
    // Takes over one reference to `standard` (may be null).
    MsaaObject(AccessibleFacts& facts, IAccessible* standard) : facts_(&facts), standard_(standard) {}
    MsaaObject(const MsaaObject&) = delete;
    MsaaObject& operator=(const MsaaObject&) = delete;

    void Disconnect() noexcept;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** result) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** result) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* result) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* result) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* result) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* result) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* result) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~MsaaObject() { Disconnect(); }
    // S_OK when the call concerns the window itself and the window is there.
    HRESULT CheckSelf(const VARIANT& child) const noexcept;
    HRESULT CheckStandard() const noexcept;

    ULONG references_ = 1;
    AccessibleFacts* facts_;
    IAccessible* standard_;
};

// Hands a window's MsaaObject to the clients that ask (WM_GETOBJECT with OBJID_CLIENT) while the
// window lives, and disconnects it when the window goes.
class MsaaServer {
public:
    explicit MsaaServer(AccessibleFacts& facts) : facts_(facts) {}
    ~MsaaServer() { Disconnect(); }
    MsaaServer(const MsaaServer&) = delete;
    MsaaServer& operator=(const MsaaServer&) = delete;

    // Null without oleacc.dll, and for any other object id.
    std::optional<LRESULT> Answer(HWND window, WPARAM wParam, LPARAM lParam);
    void Disconnect() noexcept;
    // The value changed: tells the clients that listen for window events.
    static void ValueChanged(HWND window) noexcept;

private:
    AccessibleFacts& facts_;
    MsaaObject* object_ = nullptr;  // one reference, once asked for
    bool disconnected_ = false;
};

// A BSTR of `text`, or null when the system has no memory for it.
BSTR NewBstr(const std::wstring& text);

}  // namespace ui
