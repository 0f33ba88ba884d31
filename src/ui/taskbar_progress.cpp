#include "ui/taskbar_progress.h"

#include <objbase.h>
#include <shobjidl.h>

namespace ui {

TaskbarProgress::TaskbarProgress(HWND window) : window_(window) {
    // S_FALSE, COM already started on this thread, is balanced by an uninitialise too.
    comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    if (!comStarted_) return;
    void* list = nullptr;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, __uuidof(ITaskbarList3), &list))) {
        return;
    }
    list_ = static_cast<ITaskbarList3*>(list);
    if (FAILED(list_->HrInit())) {
        list_->Release();
        list_ = nullptr;
        return;
    }
    list_->SetProgressState(window_, TBPF_NORMAL);
}

TaskbarProgress::~TaskbarProgress() {
    if (list_) {
        list_->SetProgressState(window_, TBPF_NOPROGRESS);
        list_->Release();
    }
    if (comStarted_) CoUninitialize();
}

void TaskbarProgress::SetPosition(int thousandths) {
    if (list_) list_->SetProgressValue(window_, static_cast<ULONGLONG>(thousandths), 1000);
}

}  // namespace ui
