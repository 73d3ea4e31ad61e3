// The drawing operations side by side, in one run and on the same data, with memcpy of the same
// bytes (the physical limit) and with SDL2's software blitter doing the same work. After the
// usual report a table gives each as a ratio to both, names the processor and the path the
// chooser picked, and flags a chosen path that another path beats on this machine.
//
// Sprites are 32x32 with runs of keyed pixels around a shape of their own; each iteration
// draws 64 of them, cycling through 128 sprites and 1024 positions, so that the branch
// predictor cannot learn one sprite. Whole frames are 320x240 landscapes with keyed sky.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <cpuid.h>
#include <unistd.h>

#include "gfx/Draw.h"
#include "gfx/DrawPaths.h"
#include "gfx/DrawReference.h"
#include "gfx/Surface.h"
#include "gfx/Tables.h"
#include "random/Random.h"

namespace {

constexpr int kSprite = 32;
constexpr int kSheetColumns = 16, kSheetRows = 8;
constexpr int kPlacements = 1024;
constexpr int kSpritesPerIteration = 64;
constexpr uint32_t kKey = 0;  // black, as most of the game's sprites are keyed
// Not 128: SDL has a separate shortcut for exactly half, which the game's fades rarely hit.
constexpr int kAlpha = 100;

struct Placement {
    RECT source;
    int x, y;
};

SDL_Surface* Wrap(Surface& surface)
{
    // The same memory: SDL reads the rows top-down, which is the same amount of work.
    return SDL_CreateRGBSurfaceWithFormatFrom(surface.pixels, surface.width, surface.height, 32,
                                              surface.width * 4, SDL_PIXELFORMAT_RGB888);
}

// Everything the benchmarks draw with, made once.
struct Data {
    Data()
    {
        BuildTables();
        theRandom.Seed(7);
        std::mt19937 random(20240611);
        auto between = [&](int low, int high) {
            return std::uniform_int_distribution(low, high)(random);
        };
        // Sprites: an ellipse of shaded colour with a few keyed holes, on the key.
        for (int sprite = 0; sprite < kSheetColumns * kSheetRows; sprite++) {
            int left = sprite % kSheetColumns * kSprite;
            int bottom = sprite / kSheetColumns * kSprite;
            int cx = between(12, 20), cy = between(12, 20);
            int rx = between(6, 15), ry = between(6, 15);
            uint32_t colour = static_cast<uint32_t>(random()) & 0x00FCFCFC;
            for (int y = 0; y < kSprite; y++) {
                for (int x = 0; x < kSprite; x++) {
                    int ex = (x - cx) * ry, ey = (y - cy) * rx;
                    bool inside = ex * ex + ey * ey <= rx * rx * ry * ry && between(0, 15) != 0;
                    uint32_t shade = static_cast<uint32_t>(y) * 0x00010101;
                    sheet.SetPixel(left + x, bottom + y, inside ? colour + shade : kKey);
                }
            }
        }
        for (Placement& p : placements) {
            int sprite = between(0, kSheetColumns * kSheetRows - 1);
            LONG left = sprite % kSheetColumns * kSprite, top = sprite / kSheetColumns * kSprite;
            p = {{left, top, left + kSprite, top + kSprite},
                 between(0, 320 - kSprite),
                 between(0, 240 - kSprite)};
        }
        // A landscape: hills of varied colour under a keyed sky.
        int ground = 120;
        for (int x = 0; x < 320; x++) {
            ground = std::clamp(ground + between(-3, 3), 20, 220);
            for (int y = 0; y < 240; y++) {
                uint32_t soil = 0x00204000 + (static_cast<uint32_t>(random()) & 0x3F3F3F);
                frame.SetPixel(x, y, y < ground ? soil : kKey);
            }
        }
        std::memset(canvas.pixels, 0x40, 320 * 240 * 4);
        std::memset(window.pixels, 0, 640 * 480 * 4);
        sdlSheet = Wrap(sheet);
        sdlFrame = Wrap(frame);
        sdlCanvas = Wrap(canvas);
        sdlWindow = Wrap(window);
    }

    Surface sheet{kSprite * kSheetColumns, kSprite* kSheetRows};
    Surface frame{320, 240};
    Surface canvas{320, 240};
    Surface window{640, 480};
    std::vector<uint32_t> windowSource = std::vector<uint32_t>(640 * 480, 0x00123456);
    Placement placements[kPlacements];
    SDL_Surface* sdlSheet;
    SDL_Surface* sdlFrame;
    SDL_Surface* sdlCanvas;
    SDL_Surface* sdlWindow;
};

Data& TheData()
{
    static Data data;
    return data;
}

enum class Blit { Keyed, Blend, BlendKeyed };

const char* NameOf(Blit blit)
{
    switch (blit) {
    case Blit::Keyed: return "BlitKeyed";
    case Blit::Blend: return "BlitBlend";
    case Blit::BlendKeyed: return "BlitBlendKeyed";
    }
    return "";
}

void Ours(Blit blit, const Surface& src, const RECT& r, Surface& dst, int x, int y)
{
    switch (blit) {
    case Blit::Keyed: return BlitKeyed(src, r, dst, x, y, kKey);
    case Blit::Blend: return BlitBlend(src, r, dst, x, y, kAlpha);
    case Blit::BlendKeyed: return BlitBlendKeyed(src, r, dst, x, y, kAlpha, kKey);
    }
}

void PrepareSdl(Blit blit, SDL_Surface* source)
{
    bool keyed = blit != Blit::Blend, blended = blit != Blit::Keyed;
    SDL_SetColorKey(source, keyed ? SDL_TRUE : SDL_FALSE, kKey);
    SDL_SetSurfaceBlendMode(source, blended ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
    SDL_SetSurfaceAlphaMod(source, blended ? static_cast<Uint8>(kAlpha * 255 / 256) : 255);
}

// Draws the next 64 placements of sprites with draw(source rectangle, x, y).
template <typename Draw>
void SpriteRounds(benchmark::State& state, Draw draw)
{
    int next = 0;
    for (auto _ : state) {
        for (int i = 0; i < kSpritesPerIteration; i++, next = (next + 1) % kPlacements) {
            const Placement& p = TheData().placements[next];
            draw(p.source, p.x, p.y);
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kSpritesPerIteration * kSprite * kSprite * 4);
}

void SpritesMemcpy(benchmark::State& state)
{
    Data& d = TheData();
    SpriteRounds(state, [&](const RECT& r, int x, int y) {
        for (int row = 0; row < kSprite; row++)
            std::memcpy(d.canvas.pixels + (y + row) * 320 + x,
                        d.sheet.pixels + (r.top + row) * d.sheet.width + r.left, kSprite * 4);
    });
}

void SpritesOurs(benchmark::State& state, Blit blit, DrawPath path)
{
    Data& d = TheData();
    UseDrawPath(path);
    SpriteRounds(state,
                 [&](const RECT& r, int x, int y) { Ours(blit, d.sheet, r, d.canvas, x, y); });
    UseDrawPath(BestDrawPath());
}

void SpritesSdl(benchmark::State& state, Blit blit)
{
    Data& d = TheData();
    PrepareSdl(blit, d.sdlSheet);
    SpriteRounds(state, [&](const RECT& r, int x, int y) {
        SDL_Rect from = {r.left, r.top, kSprite, kSprite}, to = {x, y, kSprite, kSprite};
        SDL_BlitSurface(d.sdlSheet, &from, d.sdlCanvas, &to);
    });
}

void FrameMemcpy(benchmark::State& state)
{
    Data& d = TheData();
    for (auto _ : state) {
        std::memcpy(d.canvas.pixels, d.frame.pixels, 320 * 240 * 4);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 320 * 240 * 4);
}

// memcpy one row at a time, as every blit must go: a single memcpy of a whole frame may take
// the processor's string-copy path, which writes lines without reading them first.
void FrameRowsMemcpy(benchmark::State& state)
{
    Data& d = TheData();
    for (auto _ : state) {
        for (int row = 0; row < 240; row++)
            std::memcpy(d.canvas.pixels + row * 320, d.frame.pixels + row * 320, 320 * 4);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 320 * 240 * 4);
}

void FrameOurs(benchmark::State& state, Blit blit, DrawPath path)
{
    Data& d = TheData();
    UseDrawPath(path);
    for (auto _ : state) {
        Ours(blit, d.frame, {0, 0, 320, 240}, d.canvas, 0, 0);
        benchmark::ClobberMemory();
    }
    UseDrawPath(BestDrawPath());
    state.SetBytesProcessed(state.iterations() * 320 * 240 * 4);
}

void FrameSdl(benchmark::State& state, Blit blit)
{
    Data& d = TheData();
    PrepareSdl(blit, d.sdlFrame);
    for (auto _ : state) {
        SDL_Rect to = {0, 0, 320, 240};
        SDL_BlitSurface(d.sdlFrame, nullptr, d.sdlCanvas, &to);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 320 * 240 * 4);
}

void DoubleMemcpy(benchmark::State& state)
{
    Data& d = TheData();
    for (auto _ : state) {
        std::memcpy(d.window.pixels, d.windowSource.data(), 640 * 480 * 4);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 640 * 480 * 4);
}

void DoubleOurs(benchmark::State& state, DrawPath path)
{
    Data& d = TheData();
    UseDrawPath(path);
    for (auto _ : state) {
        Double2x(d.frame, d.window);
        benchmark::ClobberMemory();
    }
    UseDrawPath(BestDrawPath());
    state.SetBytesProcessed(state.iterations() * 640 * 480 * 4);
}

void DoubleSdl(benchmark::State& state)
{
    Data& d = TheData();
    PrepareSdl(Blit::Keyed, d.sdlFrame);
    SDL_SetColorKey(d.sdlFrame, SDL_FALSE, 0);
    for (auto _ : state) {
        SDL_Rect to = {0, 0, 640, 480};
        SDL_BlitScaled(d.sdlFrame, nullptr, d.sdlWindow, &to);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 640 * 480 * 4);
}

template <auto Rotate>
void Rotated(benchmark::State& state)
{
    Data& d = TheData();
    int angle = 0;
    for (auto _ : state) {
        Rotate(d.canvas.pixels, 320, 240, d.frame.pixels, 320, 240, ++angle % 255);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 320 * 240 * 4);
}

void Wipe(benchmark::State& state)
{
    Data& d = TheData();
    for (auto _ : state) {
        WipeRagged(d.frame, d.canvas, 100, 50);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 320 * 240 * 4);
}

// ---------------------------------------------------------------------------------------------
// The ratio table.

struct Goal {
    const char* group;
    double timesMemcpy;
};
const Goal kGoals[] = {{"BlitKeyed", 1.3},
                       {"BlitBlend", 3},
                       {"BlitBlendKeyed", 4},
                       {"Double2x", 1},
                       {"BlitRotated", 8}};

// Benchmarks are named "<case>/<variant>"; the variants "memcpy" and "SDL" are the yardsticks.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    // In colour on a terminal only, as Google Benchmark's own report, so that the report
    // kept in a file reads plainly.
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            // Processor time, and the best of the repetitions: the machine is shared, and
            // time spent waiting for it says nothing about the code.
            std::string name = run.run_name.function_name;
            double nanoseconds =
                run.GetAdjustedCPUTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            auto [best, fresh] = fastest.try_emplace(name, nanoseconds);
            if (fresh)
                order.push_back(name);
            else
                best->second = std::min(best->second, nanoseconds);
        }
    }

    void PrintTable() const
    {
        std::printf("\nprocessor: %s; the chooser picked %s\n", ProcessorName().c_str(),
                    DrawPathName(BestDrawPath()));
        std::printf("\n%-24s %-16s %12s %10s %10s  %s\n", "operation", "variant", "time",
                    "x memcpy", "x SDL", "goal");
        for (const std::string& name : order) {
            size_t slash = name.find('/');
            std::string group = name.substr(0, slash), variant = name.substr(slash + 1);
            double ns = fastest.at(name);
            std::printf("%-24s %-16s %9.2f us", group.c_str(), variant.c_str(), ns / 1000);
            PrintRatio(ns, Yardstick(group + "/memcpy"));
            PrintRatio(ns, Yardstick(group + "/SDL"));
            // "ours" alone: an operation with one path, whatever the processor.
            if (variant == "ours" ||
                variant == std::string("ours ") + DrawPathName(BestDrawPath())) {
                PrintGoal(group, ns / Yardstick(group + "/memcpy"));
                PrintFasterPath(group, ns);
            }
            std::printf("\n");
        }
    }

private:
    static std::string ProcessorName()
    {
        unsigned int words[12] = {};
        for (unsigned int leaf = 0; leaf < 3; leaf++) {
            unsigned int* out = words + 4 * leaf;
            if (!__get_cpuid(0x80000002 + leaf, &out[0], &out[1], &out[2], &out[3]))
                return "unknown";
        }
        std::string name(reinterpret_cast<const char*>(words), sizeof words);
        name = name.substr(0, name.find('\0'));
        name.erase(0, name.find_first_not_of(' '));
        name.erase(name.find_last_not_of(' ') + 1);
        return name;
    }

    // The chooser's path should be the fastest here; a path more than 10% faster (beyond the
    // noise of a shared machine) is named, so that the chooser's order can be looked at again.
    void PrintFasterPath(const std::string& group, double chosenNs) const
    {
        for (DrawPath path : {DrawPath::Reference, DrawPath::Sse2, DrawPath::Avx2}) {
            double other = Yardstick(group + "/ours " + DrawPathName(path));
            if (path != BestDrawPath() && other > 0 && other * 1.1 < chosenNs)
                std::printf("  CHOSEN PATH SLOWER than %s", DrawPathName(path));
        }
    }

    double Yardstick(const std::string& name) const
    {
        auto found = fastest.find(name);
        return found == fastest.end() ? 0 : found->second;
    }

    static void PrintRatio(double ns, double yardstick)
    {
        if (yardstick > 0)
            std::printf(" %9.2fx", ns / yardstick);
        else
            std::printf(" %9s ", "-");
    }

    static void PrintGoal(const std::string& group, double timesMemcpy)
    {
        for (const Goal& goal : kGoals) {
            if (group.rfind(std::string(goal.group) + " ", 0) == 0)
                std::printf("  <= %.1fx memcpy: %s", goal.timesMemcpy,
                            timesMemcpy <= goal.timesMemcpy ? "met" : "MISSED");
        }
    }

    std::vector<std::string> order;
    std::map<std::string, double> fastest;
};

void Register(const std::string& name, std::function<void(benchmark::State&)> run)
{
    benchmark::RegisterBenchmark(name.c_str(), [run](benchmark::State& state) {
        run(state);
    })->Unit(benchmark::kMicrosecond);
}

void RegisterAll()
{
    std::vector<DrawPath> paths;
    for (DrawPath path : {DrawPath::Reference, DrawPath::Sse2, DrawPath::Avx2}) {
        if (CanUseDrawPath(path))
            paths.push_back(path);
    }
    auto ours = [](DrawPath path) { return std::string("/ours ") + DrawPathName(path); };

    for (Blit blit : {Blit::Keyed, Blit::Blend, Blit::BlendKeyed}) {
        std::string group = std::string(NameOf(blit)) + " 32x32 x64";
        Register(group + "/memcpy", SpritesMemcpy);
        Register(group + "/SDL", [blit](benchmark::State& s) { SpritesSdl(s, blit); });
        for (DrawPath path : paths)
            Register(group + ours(path), [=](benchmark::State& s) { SpritesOurs(s, blit, path); });
    }
    for (Blit blit : {Blit::Keyed, Blit::Blend, Blit::BlendKeyed}) {
        std::string group = std::string(NameOf(blit)) + " 320x240";
        Register(group + "/memcpy", FrameMemcpy);
        Register(group + "/memcpy by rows", FrameRowsMemcpy);
        Register(group + "/SDL", [blit](benchmark::State& s) { FrameSdl(s, blit); });
        for (DrawPath path : paths)
            Register(group + ours(path), [=](benchmark::State& s) { FrameOurs(s, blit, path); });
    }
    Register("Double2x 320x240/memcpy", DoubleMemcpy);
    Register("Double2x 320x240/SDL", DoubleSdl);
    for (DrawPath path : paths)
        Register("Double2x 320x240" + ours(path),
                 [=](benchmark::State& s) { DoubleOurs(s, path); });
    Register("BlitRotated 320x240/memcpy", FrameMemcpy);
    Register("BlitRotated 320x240/memcpy by rows", FrameRowsMemcpy);
    Register("BlitRotated 320x240/ours reference", Rotated<BlitRotatedReference>);
    Register("BlitRotated 320x240/ours", Rotated<BlitRotated>);
    Register("WipeRagged 320x240/memcpy", FrameMemcpy);
    Register("WipeRagged 320x240/ours", Wipe);
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RegisterAll();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintTable();
    benchmark::Shutdown();
    return 0;
}
