// SPDX-License-Identifier: GPL-3.0-or-later
// What the recovery journal costs: 10,000 single hex digits typed into a 100 KB document
// with the journal against the same typing without it (counter "s_per_edit": the time of
// one edit), and a 10 MiB paste with the journal against the same paste without it
// (counter "journal_bytes_per_byte": how many journal bytes each pasted byte costs).
// Journals go to a folder below $TMPDIR.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "document/HexDoc.h"
#include "recovery/DocumentJournal.h"
#include "recovery/RecoveryFolder.h"
#include "view/HexView.h"

namespace {

constexpr int kEdits = 10000;

class SilentPrompt : public qv::IPrompt {
public:
    qv::PromptAnswer Show(const std::string&, const std::string&, qv::PromptIcon, qv::PromptButtons,
                          qv::PromptAnswer answer) override
    {
        return answer;
    }
    void Beep() override {}
};

class NoTimers : public qv::ITimerService {
public:
    int Start(int, std::function<void()>) override { return 1; }
    void Stop(int) override {}
};

struct Bench {
    explicit Bench(size_t size, bool journal)
    {
        const char* tmp = std::getenv("TMPDIR");
        folder = std::filesystem::path(tmp ? tmp : "/tmp") / ("qv-bench-journal-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        file = (folder / "data.bin").string();
        std::vector<char> bytes(size);
        for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 31);
        std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        qv::DocumentServices services;
        services.prompt = &prompt;
        services.startOptions = &options;
        options.MapMode = -1;
        document = std::make_unique<qv::CHexDoc>(services);
        document->AttachView(&view);
        if (journal)
            this->journal = std::make_unique<qv::DocumentJournal>(*document, view, (folder / "recovery").string(),
                                                                  &timers, nullptr);
        document->OpenDocument(file);
    }
    ~Bench()
    {
        document->CloseContents();
        journal.reset();
        std::filesystem::remove_all(folder);
    }
    uintmax_t JournalBytes() const
    {
        uintmax_t total = 0;
        for (const auto& entry : qv::ListJournals((folder / "recovery").string()))
            total += std::filesystem::file_size(entry.file);
        return total;
    }

    SilentPrompt prompt;
    NoTimers timers;
    qv::StartOptions options;
    qv::CHexView view;
    std::unique_ptr<qv::CHexDoc> document;
    std::unique_ptr<qv::DocumentJournal> journal;
    std::filesystem::path folder;
    std::string file;
};

void Typing(benchmark::State& state, bool journal)
{
    Bench bench(100 * 1024, journal);
    std::mt19937 random(1);
    for (auto _ : state) {
        for (int i = 0; i < kEdits; ++i) {
            if (i % 2 == 0) bench.view.SetCursorOffset(random() % bench.view.Length(), false);
            bench.view.HandleChar(static_cast<uint32_t>("0123456789abcdef"[i % 16]), 1, 0);
        }
    }
    state.counters["s_per_edit"] = benchmark::Counter(kEdits, benchmark::Counter::kIsIterationInvariantRate |
                                                                  benchmark::Counter::kInvert);
}

class TextClipboard : public qv::IClipboard {
public:
    std::optional<std::string> GetText() override { return text; }
    bool SetText(const std::string& value) override
    {
        text = value;
        return true;
    }
    std::string text;
};

void Paste(benchmark::State& state, bool journal)
{
    constexpr size_t kPaste = 10u << 20;
    Bench bench(12u << 20, journal);
    // Two values in turn: pasting the bytes that are there changes nothing.
    TextClipboard clipboards[2];
    for (int which = 0; which < 2; ++which) {
        const char* value = which ? "A5" : "5A";
        clipboards[which].text = ":";
        for (size_t i = 0; i < kPaste; ++i) (clipboards[which].text += value) += i + 1 < kPaste ? " " : "";
    }
    bench.view.HandleChar('1', 1, 0);  // the journal has begun (with its copy of the bytes)
    const uintmax_t before = bench.JournalBytes();
    int64_t pastes = 0;
    for (auto _ : state) {
        bench.view.SetCursorOffset(1, false);
        bench.view.SelectTo(1 + kPaste, false);
        bench.view.PasteFromClipboard(clipboards[pastes % 2], false);
        ++pastes;
    }
    if (journal)
        state.counters["journal_bytes_per_byte"] =
            static_cast<double>(bench.JournalBytes() - before) / static_cast<double>(pastes * kPaste);
}

void TypingWithJournal(benchmark::State& state) { Typing(state, true); }
void TypingWithoutJournal(benchmark::State& state) { Typing(state, false); }
void PasteWithJournal(benchmark::State& state) { Paste(state, true); }
void PasteWithoutJournal(benchmark::State& state) { Paste(state, false); }

}  // namespace

BENCHMARK(TypingWithJournal)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(TypingWithoutJournal)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PasteWithJournal)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PasteWithoutJournal)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
