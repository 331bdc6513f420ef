#pragma once
// JavaScriptCore's execution time limit. The library we link exports it, but
// Debian installs no header for it (upstream keeps it in a private one), so
// it is declared here with the library's own signature.
//
// The limit is CPU time per entry into the engine from outside: a call from
// the host starts the clock, and page code the entry calls (natives calling
// back into the page included) runs on the same clock.

#include <JavaScriptCore/JavaScript.h>

extern "C" {

// Asked once the limit is reached; true ends the running script with an
// exception no page code can catch, false gives it another limit's worth.
typedef bool (*JSShouldTerminateCallback)(JSContextRef context, void* data);

void JSContextGroupSetExecutionTimeLimit(JSContextGroupRef group, double limit,
                                         JSShouldTerminateCallback callback, void* data);
void JSContextGroupClearExecutionTimeLimit(JSContextGroupRef group);

}  // extern "C"
