#pragma once
// What the update path remembers between runs, kept where only administrators can change it:
// %ProgramData%\Pravik (a known folder, never an environment variable), re-secured before use.
// - the record: the last announcement handed over to the updater and when, so a lasting failure
//   hands the same announcement over at most once a day;
// - the log: one line per update attempt (when, what address, outcome), bounded in size.
// Files are opened without following links or junctions planted in their place.
#include <optional>
#include <string>

namespace pravik::win32 {

// The folder, created or re-secured for administrators and the system only; nothing when it
// cannot be had that way (then nothing is recorded and nothing read counts).
std::optional<std::wstring> UpdateDataFolder();

inline constexpr unsigned long long kHandOverInterval100ns = 24ULL * 60 * 60 * 10'000'000;  // one day

// Records that this announcement (the updater's argument text) was handed over now.
void RecordHandOver(const std::wstring& announcement);
// True when the same announcement was recorded less than a day ago.
bool HandedOverRecently(const std::wstring& announcement);
// Appends "when <tab> address <tab> outcome" to the log, dropping its oldest lines past the bound.
void LogUpdateAttempt(const std::wstring& address, const std::wstring& outcome);

inline constexpr wchar_t kUpdateRecordName[] = L"update-record.txt";
inline constexpr wchar_t kUpdateLogName[] = L"update-log.txt";
inline constexpr std::size_t kUpdateLogMaxBytes = 32 * 1024;

}  // namespace pravik::win32
