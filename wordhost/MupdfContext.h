#pragma once

#include <string>

struct fz_context;

namespace wordhost {

// A MuPDF context of its own, for one thread: MuPDF's objects never cross between contexts, so
// each thread that reads a layout makes one and shares nothing.
class MupdfContext {
  public:
    MupdfContext();  // throws EngineError
    ~MupdfContext();
    MupdfContext(const MupdfContext&) = delete;
    MupdfContext& operator=(const MupdfContext&) = delete;

    fz_context* get() const { return context_; }
    // The message of the error MuPDF just caught (for use inside fz_catch only).
    std::string caughtMessage() const;

  private:
    fz_context* context_;
};

}  // namespace wordhost
