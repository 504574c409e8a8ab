// The updater guard and, at start-up, the hand-over to the updater.
#pragma once

#include <cstdint>
#include <string>

// The process id of the first running process whose executable name is
// exactly "TalmicUpdate.exe" (letter case included), or 0.
uint32_t IsUpdaterRunning();

// Asks the update server whether another version exists.  When the server
// names a version other than ours with files to update, and the updater is
// beside the executable, starts the updater and returns true: the client
// must then end.  Every failure means no update and returns false.
bool CheckForUpdate();

// The update address for a login URL (UTF-8): the URL's scheme, host and
// port, then its path up to and including the path's last "/" (the root
// when it has no path; query and fragment dropped), followed by
// "common/checkVersions.jhtml".  Text that is not an absolute URL gets
// everything up to its last "/" instead; when its only "/" is its first
// character, or it has none, it is unchanged.
std::string UpdateAddressFromLoginUrl(const std::string& loginUrl);

// Asks the shell to "open" path (trimmed of blanks and control characters)
// with the given parameters, shown normally.  The outcome is not examined.
void ShellOpen(const std::wstring& path, const std::wstring& parameters);
