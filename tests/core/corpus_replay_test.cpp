// SPDX-License-Identifier: BSD-2-Clause
// Every capture through ring, assembler and interpreter at several chunk
// sizes: the run ends, and the log holds only sentences the file contains, in
// file order, missing none of the types that can never fail. The project's own
// captures always; the corpus of real ones when it is there.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "captures.h"
#include "chunk_replay.h"
#include "fixed_clock.h"
#include "monitor.h"
#include "monitor_doubles.h"
#include "sentence_types.h"

namespace veltrane {
namespace {

using testing::capturesUnder;
using testing::contentsOf;
using testing::corpusFolder;
using testing::FixedClock;
using testing::projectCaptures;
using testing::rowsOldestFirst;
using Texts = std::vector<std::string>;

std::string withoutLineEnds(std::string text)
{
    std::erase_if(text, [](char c) { return c == '\r' || c == '\n'; });
    return text;
}

// The text between each "$" and the next, line ends removed: whatever the
// chunking, a row is one of these. The last piece never completes.
Texts piecesBetweenDollars(const std::string& file)
{
    Texts pieces;
    std::size_t at = file.find('$');
    if (at == std::string::npos) return pieces;
    for (std::size_t next; (next = file.find('$', at + 1)) != std::string::npos; at = next)
        pieces.push_back(withoutLineEnds(file.substr(at + 1, next - at - 1)));
    return pieces;
}

// A recognised type with nothing to read is logged whatever its fields hold.
bool alwaysRecognised(const std::string& piece)
{
    std::string id = piece.substr(0, 5);
    std::transform(id.begin(), id.end(), id.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    const SentenceType* type = findSentenceType(id);
    return type != nullptr && type->recognised && type->read == nullptr;
}

bool isSubsequence(const Texts& part, const Texts& whole)
{
    auto from = whole.begin();
    for (const std::string& text : part) {
        from = std::find(from, whole.end(), text);
        if (from == whole.end()) return false;
        ++from;
    }
    return true;
}

Texts replay(const std::string& file, std::size_t chunkBytes)
{
    FixedClock clock;
    NoEventPump pump;
    Monitor monitor(clock, pump);
    testing::replayInChunks(monitor, file, chunkBytes);
    Texts rows = rowsOldestFirst(monitor.log);
    std::transform(rows.begin(), rows.end(), rows.begin(), withoutLineEnds);
    return rows;
}

// The rows logged from all of `paths`, each checked at every chunk size.
std::size_t replayEachAtEveryChunkSize(const std::vector<std::filesystem::path>& paths)
{
    std::size_t totalRows = 0;
    for (const auto& path : paths) {
        const std::string file = contentsOf(path);
        const Texts pieces = piecesBetweenDollars(file);
        // The first piece may be lost with its "$" (a stream that begins with
        // one), so only the pieces after it are certain to be logged.
        Texts certain;
        for (std::size_t i = 1; i < pieces.size(); ++i)
            if (alwaysRecognised(pieces[i])) certain.push_back(pieces[i]);

        for (std::size_t chunkBytes : {1u, 7u, 64u, 4096u}) {
            SCOPED_TRACE(path.filename().string() + " in chunks of " + std::to_string(chunkBytes));
            const Texts rows = replay(file, chunkBytes);
            EXPECT_TRUE(isSubsequence(rows, pieces)) << "a row that is not in the file, or out of order";
            EXPECT_TRUE(isSubsequence(certain, rows)) << "a sentence of a type that cannot fail was not logged";
            totalRows += rows.size();
        }
    }
    return totalRows;
}

TEST(CorpusReplay, TheProjectsOwnCapturesAtEveryChunkSizeLogWhatTheFileHolds)
{
    const auto paths = capturesUnder(projectCaptures());
    ASSERT_GE(paths.size(), 12u) << "the project's captures are missing from " << projectCaptures();
    EXPECT_GT(replayEachAtEveryChunkSize(paths), 400u);
}

TEST(CorpusReplay, EveryCaptureAtEveryChunkSizeLogsWhatTheFileHolds)
{
    if (!std::filesystem::is_directory(corpusFolder()))
        GTEST_SKIP() << corpusFolder() << " not found: the corpus of real captures is optional "
                     << "(its place is the CMake cache variable VELTRANE_CORPUS_DIR)";
    const auto paths = capturesUnder(corpusFolder());
    ASSERT_GT(paths.size(), 100u) << "fewer captures than the corpus holds under " << corpusFolder();
    EXPECT_GT(replayEachAtEveryChunkSize(paths), 10000u);
}

}  // namespace
}  // namespace veltrane
