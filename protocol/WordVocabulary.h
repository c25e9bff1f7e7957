#pragma once

#include <cstdint>

// What the program and its engine host both know of Word: the constants the conversion passes,
// the name a running engine gives, the error numbers the host answers with, and the prefix of
// the host's private folder.
namespace protocol {

inline constexpr char kEngineName[] = "Microsoft Word";

// Word's constants.
namespace wd {
constexpr std::int16_t PropertyPages = 14;
constexpr std::int16_t PageFitBestFit = 2;
constexpr std::int16_t Line = 5;
constexpr std::int16_t Story = 6;
constexpr std::int16_t Extend = 1;
constexpr std::int16_t GoToPage = 1;
constexpr std::int16_t GoToFirst = 1;
constexpr std::int16_t GoToNext = 2;
constexpr std::int16_t GoToPrevious = 3;
constexpr std::int16_t GoToLast = -1;
constexpr std::int16_t DoNotSaveChanges = 0;
}  // namespace wd

// Error numbers the host answers with; the client raises them as automation errors.
namespace EngineErrorNumber {
constexpr int Automation = 440;     // the general automation error
constexpr int CantCreate = 429;     // the engine cannot be started
constexpr int NotSupported = 438;   // "Object doesn't support this property or method"
constexpr int NoSuchMember = 5941;  // Word: "The requested member of the collection does not exist."
constexpr int NoDocument = 4248;    // Word: no document is open
}  // namespace EngineErrorNumber

// Each host's private folder under the system temporary folder starts with this.
inline constexpr char kPrivateFolderPrefix[] = "marrowdale-wordhost-";

}  // namespace protocol
