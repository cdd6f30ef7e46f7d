// Waiting on the GUI thread without freezing the window. A wait that can
// take more than a moment (a printer slow to take data, the pause a printer
// needs after a setting) runs the thread's events meanwhile, with the
// user's input held back until it ends: the window keeps painting, timers
// and sockets are served, and no click starts a second printer action.
//
// Qt fires a coarse timer up to 5 % early; a loop that then sleeps until
// "more events" arrive would sleep past its deadline until the mouse
// moves. These waits wake on a precise timer, re-armed until the deadline
// has passed.
#pragma once

#include <QDeadlineTimer>
#include <functional>

namespace events {

// Runs events (user input held back) until `done` holds or `deadline` has
// passed; returns `done`'s last answer (false without one). The thread
// sleeps in its event dispatcher in between and asks `done` again after
// every event it handled, so `done` must be a condition that an event
// changes (a socket's queue, a flag a handler sets).
bool runUntil(const QDeadlineTimer &deadline, const std::function<bool()> &done = {});

} // namespace events
