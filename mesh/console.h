#pragma once
// Console messages and timing shared by every tool.
//
// Both printers format into a 1024-byte buffer (longer text is cut to 1023
// characters), write to the standard error stream and flush at once. A step
// prints its name with "... " and finishes the line with "Done.\n" or a result.

#include <cstdint>

void progress_printf(const char *format, ...) __attribute__((format(printf, 1, 2)));
void error_printf(const char *format, ...) __attribute__((format(printf, 1, 2)));

// A time stamp: ticks of the steady clock.
uint64_t now_ticks();

// Seconds between two stamps taken with now_ticks().
float elapsed_seconds(uint64_t start, uint64_t end);

// Milliseconds from the stamp `start` to now.
float elapsed_msec(uint64_t start);
