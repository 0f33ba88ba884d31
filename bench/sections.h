// The parts of the benchmark's report. Each runs its cases, prints its table and tells whether
// every byte sent or loaded arrived (timings are only reported, never judged).
#pragma once

#include "device_data.h"
#include "workspace.h"

namespace bench {

struct Settings {
    bool smoke = false;     // a few seconds: one paced and one flooding case
    double pacedSeconds = 10;  // length of each paced case
};

bool CostsSection(const DeviceData& data);
bool ReceiveSection(const Settings& settings, const Workspace& workspace, const DeviceData& data);
bool LiteralSection(const Workspace& workspace, const DeviceData& data);
bool TranscriptSection(const Workspace& workspace, const DeviceData& data);
bool ProgramSection(const DeviceData& data);

}  // namespace bench
