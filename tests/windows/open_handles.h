// How many kernel handles this process holds.
#pragma once

// Counted by asking after every possible handle value in turn, because
// Wine's GetProcessHandleCount always reports 0. Wine itself opens a few
// handles now and then (the first trace, a worker thread), so a leak shows
// as growth with the number of attempts, not as any change at all.
int OpenHandles();
