// Opening a web page with the desktop's own opener (xdg-open), which hands it to the user's
// browser.
#pragma once

#include "platform/platform.h"

namespace spellcrypt {

// Runs "xdg-open url" (no shell) and waits up to waitMs for its verdict: Ok when it succeeded or
// is still at work by then (an opener that starts the browser in the foreground only returns when
// the browser closes; it is reaped in the background); NoAssociation when there is no opener on
// PATH or it found no program for web pages (exit code 3); UnknownError for any other failure.
OpenLinkResult OpenWithDesktop(const char* url, int waitMs = 3000);

}  // namespace spellcrypt
