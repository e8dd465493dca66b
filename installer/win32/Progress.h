#pragma once
// The progress operations the archive loading needs before the progress
// dialog exists: for now they keep the windows alive and nothing more.

#include "core/String.h"

// Keeps the message queue moving at each progress point.
void setProgress(int percent);
// The status line under the progress bar: what was just done.
void setProgressText(const String& text);

// The cancel question (message 28, captioned by message 20). Yes ends the
// program through exitInstaller; No returns.
void confirmCancel();
