#pragma once

#include <memory>

namespace wordhost {

// While it lives, every document the engine finishes loading gets the layout settings in which
// the engine's defaults differ from Word's, before the engine lays it out (set later, they would
// not move what is already laid out): endnotes run on after the last paragraph instead of
// starting a page of their own. Only the loaded document changes, never its file.
class WordLayoutSettings {
  public:
    // Throws EngineError when the engine offers no document events.
    WordLayoutSettings();
    ~WordLayoutSettings();
    WordLayoutSettings(const WordLayoutSettings&) = delete;
    WordLayoutSettings& operator=(const WordLayoutSettings&) = delete;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace wordhost
