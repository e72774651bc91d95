#include "metadata/MessageSink.h"

#include <cstdio>

namespace {

class StandardOutput final : public MessageSink {
public:
    void Print(const char* message) override { std::fputs(message, stdout); }
};

class Discarding final : public MessageSink {
public:
    void Print(const char*) override {}
};

} // namespace

MessageSink& StandardOutputSink() {
    static StandardOutput sink;
    return sink;
}

MessageSink& DiscardingSink() {
    static Discarding sink;
    return sink;
}
