#pragma once

// For start-up measurements: when MURMELO_REPORT_FIRST_SHOW is set, the first paint of any
// dialog prints "first-show <ns>" on standard output, the steady clock's reading in
// nanoseconds, which a benchmark compares with the moment it started the process.
namespace FirstShowReport {

void WindowPainted();

} // namespace FirstShowReport
