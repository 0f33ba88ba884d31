// What a user does to the main window while text streams in, each action timed on the window's
// thread together with the paint it causes: resizing, the text-size steps, a colour scheme,
// scrolling (thumb, keys, wheel), typing and undoing it, selecting by mouse and keys, and Clear.
#pragma once

#include "bench_form.h"
#include "stats.h"

#include <random>
#include <string>
#include <vector>

namespace bench {

struct ActionCost {
    std::string name;
    Summary took;  // ms
};

struct ActionsResult {
    std::vector<ActionCost> costs;
    bool textKept = true;  // typing and its undo left the text as it was
    bool keysHeld = true;  // Ctrl+End reached the end and Shift with the arrows selected: the held
                           // keys were seen, so the figures are those of the keys named
};

// Each action `repeats` times, fewer when one takes long, so that a slow text area does not stall
// the run. Scroll places and the points clicked come from `random`.
ActionsResult MeasureActions(BenchForm& bench, int repeats, std::mt19937& random);

// Clear (Button1Click) and the paint after it, once: it empties the text area.
double MeasureClear(BenchForm& bench);

}  // namespace bench
