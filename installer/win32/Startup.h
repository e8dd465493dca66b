#pragma once

// Fills the process-wide start-up values from the system; a second call does nothing.
void computeStartupValues();
