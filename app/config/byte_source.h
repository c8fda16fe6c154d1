#pragma once
// The byte streams the configuration reader takes its text from.

#include <cstddef>
#include <istream>
#include <string>
#include <utility>

namespace app {

// A source of bytes read front to back.
class ByteSource {
public:
    virtual ~ByteSource() = default;

    // Reads up to count bytes into dest and returns how many it read; fewer
    // than count only at the end of the input. Raises runtime::IOError when
    // the underlying stream fails.
    virtual std::size_t read(char* dest, std::size_t count) = 0;
};

// Reads from a std::istream that the caller keeps alive.
class IstreamSource final : public ByteSource {
public:
    explicit IstreamSource(std::istream& stream) : stream_(stream) {}
    std::size_t read(char* dest, std::size_t count) override;

private:
    std::istream& stream_;
};

}  // namespace app
