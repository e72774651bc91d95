#pragma once

// Where the reader's two printed messages go. The default prints them on
// standard output; a caller that owns standard output (the command line's
// JSON mode) collects them instead.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void Print(const char* message) = 0;
};

// The sink that writes to standard output.
MessageSink& StandardOutputSink();

// The sink that drops them, for callers whose standard output nobody reads.
MessageSink& DiscardingSink();
