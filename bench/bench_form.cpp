#include "bench_form.h"

#include "bench_clock.h"

namespace bench {

BenchForm::BenchForm() {
    ui::App().SetTitle("Varnedo");
    form = std::make_unique<TMainForm>(nullptr);
    MainForm = form.get();
    // The show sequence runs as in the program; the benchmark's folder holds no settings file.
    form->Show();
    form->Timer1.SetEnabled(false);
    tick = [this] { form->Timer1Timer(nullptr); };
    form->Timer1.OnTimer = [this](ui::Object*) {
        // Bytes in the driver's queue, or received text that an earlier tick left to show.
        const bool hadData = (SciPort.IsOpen() && SciPort.InQueue() > 0) || form->pendingText.size() > 1;
        const double start = NowMs();
        tick();
        ticks.push_back({start, NowMs(), hadData});
    };
    pump.RunFor(200);
}

BenchForm::~BenchForm() {
    form->Timer1.SetEnabled(false);
    SciPort.Close();
    MainForm = nullptr;
    form.reset();
}

bool BenchForm::OpenPort(int port) {
    form->PortNumber = port;
    form->LinkState = 0;
    form->Timer1.SetEnabled(true);
    return pump.RunUntil([this] { return form->LinkState == 1; }, 5000);
}

void BenchForm::UseTick(std::function<void()> replacement) { tick = std::move(replacement); }

void BenchForm::Prefill(const std::string& text) {
    form->Memo1.SetText(text);
    form->Memo1.ScrollToEnd();
    pump.RunFor(300);
}

std::string BenchForm::ReceivedText() const { return form->Memo1.Text() + form->pendingText; }

std::size_t BenchForm::ReceivedLength() const {
    return static_cast<std::size_t>(form->Memo1.TextLength()) + form->pendingText.size();
}

std::uint64_t BenchForm::ReceivedBytes() const { return TextAreaBytes() + form->pendingText.size(); }

std::uint64_t BenchForm::TextAreaBytes() const { return form->Memo1.TextSize(); }

std::string BenchForm::TextPiece(std::uint64_t offset, std::size_t count) const {
    const auto from = static_cast<std::size_t>(offset);
    return form->Memo1.Read(from, from + count);
}

}  // namespace bench
