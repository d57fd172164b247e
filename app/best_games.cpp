// The best games kept: a recording written for each game that ends with a
// new best score for the machine, the oldest dropped past the limit.
#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "app/recordings.h"
#include "base/write_file.h"
#ifdef _WIN32
#include "platform/win/places.h"
#endif

namespace {

constexpr std::string_view kScoreMark = "-score-";
constexpr std::string_view kSuffix = ".rec";
constexpr size_t kStampLength = 17;  // "%Y-%m-%d-%H%M%S", as the name begins

// "2026-12-08-041855-score-1234.rec": the score, or -1 for another name.
int64_t ScoreOf(const std::string& name) {
  const size_t mark = name.find(kScoreMark);
  if (mark != kStampLength || !name.ends_with(kSuffix)) return -1;
  const size_t from = mark + kScoreMark.size();
  const std::string digits = name.substr(from, name.size() - from - kSuffix.size());
  if (digits.empty() || digits.size() > 10 || digits.find_first_not_of("0123456789") != std::string::npos)
    return -1;
  return std::stoll(digits);
}

}  // namespace

std::string RecordingsFolder() {
#ifdef _WIN32
  // Beside the settings, so the uninstaller leaves them with the settings.
  const std::string appData = winplat::RoamingAppDataFolder();
  return appData.empty() ? std::string() : appData + "\\Ruzov\\recordings";
#else
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state && state[0] == '/') return std::string(state) + "/ruzov/recordings";
  const char* home = std::getenv("HOME");
  if (!home || home[0] != '/') return std::string();
  return std::string(home) + "/.local/state/ruzov/recordings";
#endif
}

std::vector<std::string> KeptRecordings(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return names;
  while (const dirent* entry = readdir(dir))
    if (ScoreOf(entry->d_name) >= 0) names.emplace_back(entry->d_name);
  closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

bool KeepIfBest(const std::string& folder, int keep, uint32_t score, const std::function<std::string()>& text,
                std::time_t when, std::string* written) {
  written->clear();
  // A game without a point is nobody's best.
  if (score == 0) return true;
  std::vector<std::string> kept = KeptRecordings(folder);
  for (const std::string& name : kept)
    if (ScoreOf(name) >= static_cast<int64_t>(score)) return true;
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &when);
#else
  localtime_r(&when, &local);
#endif
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d-%H%M%S", &local);
  const std::string name =
      std::string(stamp) + std::string(kScoreMark) + std::to_string(score) + std::string(kSuffix);
  const std::string path = folder + "/" + name;
  if (!files::WriteAtomically(path, text())) return false;
  kept.push_back(name);
  std::sort(kept.begin(), kept.end());
  for (size_t i = 0; i + static_cast<size_t>(keep) < kept.size(); ++i)
    std::remove((folder + "/" + kept[i]).c_str());
  *written = path;
  return true;
}
