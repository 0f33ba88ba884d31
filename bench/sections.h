// The parts of the benchmark's report. Each runs its cases, prints its table and tells whether
// every byte sent or loaded arrived (timings are only reported, never judged).
#pragma once

#include "device_data.h"
#include "workspace.h"

namespace bench {

struct Settings {
    bool smoke = false;         // a few seconds: one paced and one flooding case
    double pacedSeconds = 10;   // length of each paced case
    double enduranceMb = 2048;  // what the endurance section sends
};

bool CostsSection(const DeviceData& data);
bool ReceiveSection(const Settings& settings, const Workspace& workspace, const DeviceData& data);
bool LiteralSection(const Workspace& workspace, const DeviceData& data);
bool TranscriptSection(const Workspace& workspace, const DeviceData& data);
bool ProgramSection(const DeviceData& data);
// Runs only when asked for by name: 1 GB loaded and saved while a device sends.
bool FileWorkSection(const Workspace& workspace, const DeviceData& data);
// Runs only when asked for by name: a run of 2 GB takes about 20 minutes.
bool EnduranceSection(const Settings& settings, const Workspace& workspace);

}  // namespace bench
