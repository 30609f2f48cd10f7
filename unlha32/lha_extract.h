#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace unlha {

// The folder steps of a stored name inside the target folder ("a/b/c.bmp"); false when
// the name would leave it: an absolute path, a drive, or a ".." step. "\" separates
// folders as "/" does. An empty result (a name of only "." steps) is also false.
bool SafeRelativePath(const std::string& name, std::string* relative);

struct ExtractLimits {
    uint64_t maxTotalBytes = 0; // 0: as much as the folder's file system has free
};

// Extracts the entries (all, or those matching names) into folder, creating it. Entries
// that would land outside the folder, and links of any kind, are not written and are
// told in messages (UTF-8).
// Returns 0 or an UnlhaResult code.
int ExtractArchive(const std::string& archivePath, const std::string& folder,
    const std::vector<std::string>& names, std::vector<std::string>* messages,
    const ExtractLimits& limits = {});

// True when a stored name matches one of the names (wildcards, without regard to case);
// every name matches when there are none.
bool NameSelected(const std::string& relative, const std::vector<std::string>& names);

} // namespace unlha
