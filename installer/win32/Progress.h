#pragma once
// The progress dialog and the pump points of long work: every status text,
// progress position and pause keeps the windows painting and lets Cancel be
// pressed.

#include "core/String.h"
#include "installer/Pace.h"

// The modeless "ProgressDlg", owned by the background window; from then on it
// owns the message boxes.
void openProgressDialog();
void closeProgressDialog();

// The status line, shown literally. Both return what the pump returned.
bool setStatusText(const String& text);
bool setProgress(int percent);

// Marks the start of a step without changing what is shown.
void markStep();
// A new step: its start is marked, its message shown, the bar moved.
void progressStep(int messageId, int percent);
// Keeps the current step on screen until `milliseconds` have passed since it
// began, pumping meanwhile; nothing in automatic mode.
void pauseStep(int milliseconds);

// The cancel question (message 28, captioned by message 20). Yes ends the
// program through exitInstaller; No returns.
void confirmCancel();

void showWaitCursor();
void clearCursor();

// A long loop's bar, status line and pump, paced by elapsed time: the pump
// runs at most ten times a second and moves the bar to the latest position
// first, the status line changes as often, and finish() shows the position
// and the text last given, so that both end on the last item whatever was
// skipped. Each repaint of the bar and the line costs far more than placing
// a small file: at a few tens of milliseconds they took a third of a loop
// over small files.
class PacedProgress {
public:
    void progress(int percent);
    void pump();
    void status(String&& text);
    void finish();

private:
    static constexpr uint32_t kIntervalMs = 100;
    void showPercent();

    Pace pumpPace_{kIntervalMs};
    Pace textPace_{kIntervalMs};
    int percent_ = -1;
    int shownPercent_ = -1;
    String pending_;
    bool textPending_ = false;
};
