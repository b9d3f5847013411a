// The fatal error reporter.
#pragma once

// Prints "message: detail" ("unknown" without detail) to standard output and exits with status 1.
[[noreturn]] void error(const char *message, const char *detail);
