#pragma once

namespace MurvelPreferences {

// Why the cloud store is not used right now. No issue is the absent optional.
enum class PreferenceCloudIssue { quotaExceeded, accountChanged, accountUnavailable };

} // namespace MurvelPreferences
