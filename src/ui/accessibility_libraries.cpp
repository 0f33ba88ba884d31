#include "ui/accessibility_libraries.h"

#include <optional>

namespace ui {
namespace {

std::optional<AccessibilityLibraries>& Loaded() {
    static std::optional<AccessibilityLibraries> libraries;
    return libraries;
}

}  // namespace

void LoadAccessibilityLibraries(const wchar_t* oleaccName, const wchar_t* automationName) {
    AccessibilityLibraries libraries;
    libraries.oleacc = LoadSystemLibrary(oleaccName);
    libraries.automation = LoadSystemLibrary(automationName);
    const HMODULE oleacc = libraries.oleacc.get();
    const HMODULE automation = libraries.automation.get();
    libraries.lresultFromObject = FindFunction<uia::LresultFromObjectFunction>(oleacc, "LresultFromObject");
    libraries.createStdAccessibleObject =
        FindFunction<uia::CreateStdAccessibleObjectFunction>(oleacc, "CreateStdAccessibleObject");
    libraries.returnRawElementProvider =
        FindFunction<uia::ReturnRawElementProviderFunction>(automation, "UiaReturnRawElementProvider");
    libraries.hostProviderFromHwnd =
        FindFunction<uia::HostProviderFromHwndFunction>(automation, "UiaHostProviderFromHwnd");
    libraries.raiseAutomationEvent =
        FindFunction<uia::RaiseAutomationEventFunction>(automation, "UiaRaiseAutomationEvent");
    libraries.disconnectProvider = FindFunction<uia::DisconnectProviderFunction>(automation, "UiaDisconnectProvider");
    libraries.raiseNotificationEvent =
        FindFunction<uia::RaiseNotificationEventFunction>(automation, "UiaRaiseNotificationEvent");
    Loaded() = std::move(libraries);
}

const AccessibilityLibraries& Accessibility() {
    if (!Loaded()) LoadAccessibilityLibraries(L"oleacc.dll", L"uiautomationcore.dll");
    return *Loaded();
}

}  // namespace ui
