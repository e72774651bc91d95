#include "MessageSink.h"

#include <cstdio>

namespace {

class StandardOutput final : public MessageSink {
public:
    void Print(const char* message) override { std::fputs(message, stdout); }
};

} // namespace

MessageSink& StandardOutputSink() {
    static StandardOutput sink;
    return sink;
}
