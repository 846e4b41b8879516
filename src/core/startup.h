// The program's entry point and its run-mode decision.
#pragma once

// Fills the application-wide state, logs the start and decides the run mode. A scheduled
// start that is not due returns before any window exists.
void Main();
