// The fatal error reporter.
#pragma once

// Writes "message: detail" ("unknown" without detail) to standard error, shows it in a message box
// where there is a display to show it on, and exits with status 1.
[[noreturn]] void error(const char *message, const char *detail);
