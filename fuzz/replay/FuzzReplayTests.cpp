// Replays each fuzz target's seed corpus and regression inputs through the target's own
// function, so an input that once crashed or hung a reader stays fixed.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#define ORVEL_FUZZ_TARGET(name) extern "C" int orvelFuzz_##name(const std::uint8_t*, std::size_t);
#include "FuzzTargets.inc"
#undef ORVEL_FUZZ_TARGET

namespace {

struct FuzzTarget {
    std::string name;
    int (*run)(const std::uint8_t*, std::size_t);
};

const std::vector<FuzzTarget> allTargets{
#define ORVEL_FUZZ_TARGET(name) {#name, &orvelFuzz_##name},
#include "FuzzTargets.inc"
#undef ORVEL_FUZZ_TARGET
};

std::vector<std::filesystem::path> inputsIn(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> inputs;
    if (!std::filesystem::is_directory(folder)) return inputs;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.is_regular_file() && !entry.path().filename().string().starts_with('.'))
            inputs.push_back(entry.path());
    }
    return inputs;
}

std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class FuzzReplay : public testing::TestWithParam<FuzzTarget> {};

TEST_P(FuzzReplay, ReplaysSeedsAndRegressions) {
    const std::filesystem::path fuzz = std::filesystem::path(ORVELLA_SOURCE_DIR) / "fuzz";
    const auto seeds = inputsIn(fuzz / "corpus" / GetParam().name);
    // A target without seeds would replay nothing and start every fuzzing run from scratch.
    ASSERT_FALSE(seeds.empty()) << "no seeds for " << GetParam().name;

    auto inputs = seeds;
    for (auto& regression : inputsIn(fuzz / "regressions" / GetParam().name)) inputs.push_back(std::move(regression));
    for (const auto& input : inputs) {
        SCOPED_TRACE(input.string());
        const std::string bytes = contents(input);
        EXPECT_EQ(GetParam().run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, testing::ValuesIn(allTargets),
                         [](const testing::TestParamInfo<FuzzTarget>& info) { return info.param.name; });

}  // namespace
