// Host tool calls and byte builders for the format tests.
#include "FormatsTestSupport.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace fs = std::filesystem;

Bytes ToBytes(std::string_view s) { return Bytes(s.begin(), s.end()); }

bool HostToolsAvailable() {
#ifdef _WIN32
    return false;
#else
    static const bool available =
        RunCommand("command -v zip && command -v unzip && command -v python3") == 0;
    return available;
#endif
}

std::optional<int> RunCommand(const std::string& command) {
    int status = std::system(("{ " + command + "; } >/dev/null 2>&1").c_str());
    if (status == -1) return std::nullopt;
#ifdef _WIN32
    return status;
#else
    return WIFEXITED(status) ? std::optional<int>(WEXITSTATUS(status)) : std::nullopt;
#endif
}

std::optional<std::string> RunOutput(const std::string& command) {
#ifdef _WIN32
    (void)command;
    return std::nullopt;
#else
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return std::nullopt;
    std::string out;
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
    int status = pclose(pipe);
    if (status == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return out;
#endif
}

std::string Quote(const fs::path& p) { return "'" + p.string() + "'"; }

void Poke16(Bytes& b, std::size_t at, std::uint16_t v) {
    b.at(at) = static_cast<std::uint8_t>(v);
    b.at(at + 1) = static_cast<std::uint8_t>(v >> 8);
}

void Poke32(Bytes& b, std::size_t at, std::uint32_t v) {
    Poke16(b, at, static_cast<std::uint16_t>(v));
    Poke16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}

namespace {

void Put16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(Bytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

void Append(Bytes& to, const Bytes& from) { to.insert(to.end(), from.begin(), from.end()); }

}  // namespace

Bytes DibImage(int width, int height, int bitCount) {
    Bytes b;
    Put32(b, 40);
    Put32(b, static_cast<std::uint32_t>(width));
    Put32(b, static_cast<std::uint32_t>(height * 2));
    Put16(b, 1);
    Put16(b, static_cast<std::uint32_t>(bitCount));
    for (int i = 0; i < 6; ++i) Put32(b, 0);
    if (bitCount <= 8) b.resize(b.size() + (4u << bitCount), 0x40);
    std::size_t xorStride = (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4;
    std::size_t andStride = (static_cast<std::size_t>(width) + 31) / 32 * 4;
    b.resize(b.size() + (xorStride + andStride) * static_cast<std::size_t>(height), 0x5A);
    return b;
}

Bytes IconFileBytes(int type, const std::vector<IconEntry>& entries) {
    Bytes b;
    Put16(b, 0);
    Put16(b, static_cast<std::uint32_t>(type));
    Put16(b, static_cast<std::uint32_t>(entries.size()));
    std::size_t offset = 6 + 16 * entries.size();
    for (const auto& e : entries) {
        b.push_back(static_cast<std::uint8_t>(e.width == 256 ? 0 : e.width));
        b.push_back(static_cast<std::uint8_t>(e.height == 256 ? 0 : e.height));
        b.push_back(0);
        b.push_back(0);
        Put16(b, static_cast<std::uint32_t>(e.field4));
        Put16(b, static_cast<std::uint32_t>(e.field6));
        Put32(b, static_cast<std::uint32_t>(e.data.size()));
        Put32(b, static_cast<std::uint32_t>(offset));
        offset += e.data.size();
    }
    for (const auto& e : entries) Append(b, e.data);
    return b;
}

Bytes Chunk(std::string_view id, const Bytes& body) {
    Bytes b(id.begin(), id.end());
    Put32(b, static_cast<std::uint32_t>(body.size()));
    Append(b, body);
    if (body.size() % 2) b.push_back(0);
    return b;
}

Bytes List(std::string_view type, const std::vector<Bytes>& chunks) {
    Bytes body(type.begin(), type.end());
    for (const auto& c : chunks) Append(body, c);
    return Chunk("LIST", body);
}

Bytes Riff(std::string_view form, const std::vector<Bytes>& chunks) {
    Bytes body(form.begin(), form.end());
    for (const auto& c : chunks) Append(body, c);
    return Chunk("RIFF", body);
}

Bytes U32s(const std::vector<std::uint32_t>& values) {
    Bytes b;
    for (auto v : values) Put32(b, v);
    return b;
}

Bytes AniHeaderBody(std::uint32_t frames, std::uint32_t steps, std::uint32_t flags, std::uint32_t rate) {
    return U32s({36, frames, steps, 32, 32, 32, 1, rate, flags});
}
