// SPDX-License-Identifier: GPL-3.0-or-later
// The first new game of a fresh process on the largest field (2000 x 1000),
// after an idle pause, against a fresh allocation and fill of the same number
// of bytes as the grid's cells in the same process. Warm benchmark loops reuse
// memory the process already holds; a first game takes its pages from the
// kernel, and whatever the kernel does at the first touch shows only here.
// The second game of the process, made after the first is freed, follows.
//
//   bench/cold_game [pause seconds]        (default 30)
//
// Prints the wall-clock times in milliseconds and the first two's ratio.

#include "MineStorage.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>

namespace {

double MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

} // namespace

int main(int argc, char **argv)
{
    constexpr std::int32_t kWidth = 2000, kHeight = 1000;
    const int pause = argc > 1 ? std::atoi(argv[1]) : 30;
    std::this_thread::sleep_for(std::chrono::seconds(pause));

    std::uint64_t state = 42;
    const MineRandom random = [&state](std::int32_t n) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::int32_t>((state >> 33) % static_cast<std::uint64_t>(n));
    };
    auto start = std::chrono::steady_clock::now();
    auto game = std::make_unique<MineGame>(kWidth, kHeight, 250000, 0, 1, false, random);
    const double gameMs = MillisecondsSince(start);
    // The next game, made as the window makes it: the old one freed first.
    start = std::chrono::steady_clock::now();
    game.reset();
    game = std::make_unique<MineGame>(kWidth, kHeight, 250000, 0, 1, false, random);
    const double nextMs = MillisecondsSince(start);

    const std::size_t bytes = sizeof(MineCell) * kWidth * kHeight;
    start = std::chrono::steady_clock::now();
    const std::unique_ptr<unsigned char[]> block(new unsigned char[bytes]);
    std::memset(block.get(), 1, bytes);
    const double fillMs = MillisecondsSince(start);

    std::printf("first new game %.1f ms, allocate and fill %.1f ms, x%.2f; next new game %.1f ms"
                " (%d bombs, %d %d)\n",
                gameMs, fillMs, gameMs / fillMs, nextMs, game->BombCount(), block[0],
                block[bytes - 1]);
    return 0;
}
