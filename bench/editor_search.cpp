// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's search against quarnival-cli search on the same 4 GiB file in the page
// cache, in the same run and alternating. The editor's side is "Weitersuchen" from the
// first byte as the editor runs it, without its window: the search commands over the
// document's byte source (a read-only map of the file), as long work in slices that report
// progress (inline here; the window's runner only adds a thread that the window waits for).
// Its processor time is taken twice: on a freshly opened map, as the CLI maps its input
// anew (opening and closing the map included), and once more on the map the first search
// has read, as the editor keeps its file open. The CLI's side is the whole process's
// processor time. The value lies only near the end, so both read the whole file.
//
// Usage: bench_editor_search [FOLDER]  (the 4 GiB test file is made there and removed;
// default $TMPDIR or /tmp). QV_CLI names the program, else quarnival-cli next to this one.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <vector>

#include "bench/BenchProcess.h"
#include "platform/MappedFile.h"
#include "search/SearchCommands.h"
#include "search/SearchEntry.h"

namespace {

using namespace bench;

constexpr int kRounds = 5;
constexpr size_t kFileSize = size_t{4} << 30;

double ThreadSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_THREAD, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

// The view as the search sees it, without a window: the map's bytes and a cursor.
class MapTarget : public qv::ISearchTarget {
public:
    explicit MapTarget(const qv::MappedFile& map) : bytes_(map.Data(), static_cast<int64_t>(map.Size())) {}
    const qv::IByteSource& Bytes() const override { return bytes_; }
    int64_t CursorOffset() const override { return cursor; }
    std::optional<Range> Selection() const override { return std::nullopt; }
    void SetCursorOffset(int64_t offset) override { cursor = offset; }
    void SelectTo(int64_t) override {}
    void SetMark(int, int64_t, int64_t) override {}
    Rows RowLayout() const override { return {}; }
    void ScrollToOffset(int64_t) override {}

    int64_t cursor = 0;

private:
    qv::BlockByteSource bytes_;
};

// No question is asked when the value is found before the end.
class NoPrompt : public qv::IPrompt {
public:
    qv::PromptAnswer Show(const std::string& text, const std::string&, qv::PromptIcon, qv::PromptButtons,
                          qv::PromptAnswer) override
    {
        std::fprintf(stderr, "unexpected: %s\n", text.c_str());
        std::exit(1);
    }
    void Beep() override {}
};

class NoDialogs : public qv::IDialogService {
public:
    bool Run(qv::DialogModel&) override { return false; }
};

struct EditorRun {
    double fresh = 0;  // opening the map, the search, closing the map
    double open = 0;   // the search again on the open map
    int64_t found = -1;
};

EditorRun SearchInEditor(const std::string& path, const std::string& typed)
{
    qv::SearchState state;
    state.pattern = qv::MultiString::FromList({"0", *qv::BuildSearchEntry({typed, 4, qv::ValueWidth::Variable})});
    NoPrompt prompt;
    NoDialogs dialogs;
    qv::InlineTaskRunner runner;
    EditorRun run;

    const double start = ThreadSeconds();
    qv::MappedFile::Error error{};
    std::unique_ptr<qv::MappedFile> map = qv::MappedFile::Open(path, false, error);
    if (!map) {
        std::fprintf(stderr, "cannot map %s\n", path.c_str());
        std::exit(1);
    }
    MapTarget target(*map);
    qv::SearchCommands commands(target, prompt, dialogs, runner, state);
    commands.FindNext();
    const double searched = ThreadSeconds();
    run.found = target.cursor;
    target.cursor = 0;
    commands.FindNext();
    const double again = ThreadSeconds();
    map.reset();
    run.fresh = searched - start + (ThreadSeconds() - again);
    run.open = again - searched;
    if (target.cursor != run.found) std::exit(1);
    return run;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string folder = MakeFileFolder(argc, argv, "qv-bench-editor-search");
    const std::string file = folder + "/search.bin";
    const std::vector<uint8_t> value = {'Q', 'u', 'a', 'r', 'n', 'i', 'v', '!'};
    const size_t at = kFileSize - 4096 - 3;
    WriteRandomFile(file, kFileSize, 0x9E3779B97F4A7C15ull, value, at, kFileSize);

    std::vector<double> fresh, open, cli;
    for (int round = 0; round < kRounds; ++round) {
        Warm(file);
        const EditorRun editor = SearchInEditor(file, "\"Quarniv!\"");
        if (editor.found != static_cast<int64_t>(at)) {
            std::fprintf(stderr, "the editor found 0x%llX\n", static_cast<unsigned long long>(editor.found));
            return 1;
        }
        fresh.push_back(editor.fresh);
        open.push_back(editor.open);
        Warm(file);
        cli.push_back(RunProcess({CliPath(), "search", file, "\"Quarniv!\""}).seconds);
    }
    const double gb = static_cast<double>(kFileSize) / 1e9;
    const double editorFresh = Median(fresh), editorOpen = Median(open), cliTime = Median(cli);
    std::printf("search of 8 bytes through 4 GiB in the page cache, processor time, median of %d\n", kRounds);
    std::printf("editor, freshly mapped: %.3f s = %.2f GB/s; quarnival-cli search: %.3f s = %.2f GB/s: %.2fx (need >= 0.8)\n",
                editorFresh, gb / editorFresh, cliTime, gb / cliTime, cliTime / editorFresh);
    std::printf("editor, file kept open: %.3f s = %.2f GB/s: %.2fx of the CLI\n", editorOpen, gb / editorOpen,
                cliTime / editorOpen);
    ::unlink(file.c_str());
    ::rmdir(folder.c_str());
    return 0;
}
