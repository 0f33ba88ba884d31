// The functions of oleacc.dll and uiautomationcore.dll, loaded from the system folder when first
// needed. Either may be missing (older systems, Wine lacks some functions): then the windows
// answer as plain windows do, and the program works without them.
#pragma once

#include "ui/system_library.h"
#include "ui/uia_declarations.h"

namespace ui {

struct AccessibilityLibraries {
    UniqueLibrary oleacc;
    UniqueLibrary automation;
    uia::LresultFromObjectFunction lresultFromObject = nullptr;
    uia::CreateStdAccessibleObjectFunction createStdAccessibleObject = nullptr;
    uia::ReturnRawElementProviderFunction returnRawElementProvider = nullptr;
    uia::HostProviderFromHwndFunction hostProviderFromHwnd = nullptr;
    uia::RaiseAutomationEventFunction raiseAutomationEvent = nullptr;
    uia::DisconnectProviderFunction disconnectProvider = nullptr;
    uia::RaiseNotificationEventFunction raiseNotificationEvent = nullptr;  // Windows 10 1709 and later

    bool HasMsaa() const noexcept { return lresultFromObject && createStdAccessibleObject; }
    bool HasUia() const noexcept { return returnRawElementProvider && hostProviderFromHwnd; }
};

// The process's libraries, loaded at the first call.
const AccessibilityLibraries& Accessibility();
// Loads them under other file names: for the test of a system without them.
void LoadAccessibilityLibraries(const wchar_t* oleaccName, const wchar_t* automationName);

}  // namespace ui
