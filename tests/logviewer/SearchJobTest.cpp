#include "SearchJob.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace reda {
namespace {

SearchJob::State waitFor(const SearchJob& job) {
    for (int i = 0; i < 5000 && job.state() == SearchJob::State::Running; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return job.state();
}

// The job in pieces, on a worker or not, finds what one scan of the whole finds, wrapping
// around the end once.
TEST(SearchJob, PiecesFindWhatOneScanFinds) {
    const std::vector<std::string> words{"err", "error", "Error", "x", " ", "errors", "\n", "_"};
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        std::string hay;
        for (unsigned n = static_cast<unsigned>(random() % 40); n-- > 0;) {
            hay += words[random() % words.size()];
        }
        const bool wholeWord = round % 2 == 0;
        const TextFinder finder("error", FindOptions{false, wholeWord});
        auto matcher = std::make_shared<TextMatcher>(finder);
        const std::size_t from = hay.empty() ? 0 : random() % (hay.size() + 1);
        for (const bool forward : {true, false}) {
            std::size_t expected = forward ? finder.next(hay, from) : finder.previous(hay, from);
            bool wrapped = false;
            if (expected == TextFinder::npos) {
                expected = forward ? finder.next(hay, 0) : finder.previous(hay);
                wrapped = true;
            }
            for (const std::size_t piece : {std::size_t{1}, std::size_t{3}, std::size_t{1} << 20}) {
                for (const bool worker : {false, true}) {
                    SearchJob job(SearchSource{worker ? std::make_shared<int>(0) : nullptr, hay},
                                  matcher, forward, from, piece);
                    const SearchJob::State state = waitFor(job);
                    const std::string where = hay + " from " + std::to_string(from) +
                                              (forward ? " forward" : " backward") + ", piece " +
                                              std::to_string(piece);
                    if (expected == TextFinder::npos) {
                        ASSERT_EQ(state, SearchJob::State::NotFound) << where;
                        ASSERT_DOUBLE_EQ(job.progress(), 1.0) << where;
                    } else {
                        ASSERT_EQ(state, SearchJob::State::Found) << where;
                        ASSERT_EQ(job.match(), (Match{expected, 5})) << where;
                        ASSERT_EQ(job.wrapped(), wrapped) << where;
                    }
                }
            }
        }
    }
}

// A held worker has looked at nothing; stopped, it ends without a look, and let go it runs
// to its end. Held, the job is met at work whatever the machine's speed.
TEST(SearchJob, AHeldSearchStopsOrRunsWhenLetGo) {
    const std::string hay(1u << 20, 'a');
    auto matcher = std::make_shared<TextMatcher>(TextFinder("zzz", FindOptions{}));
    struct Case {
        const char* name;
        bool stop;
        SearchJob::State state;
        double progress;
    };
    const Case cases[] = {
        {"stopped while held", true, SearchJob::State::Stopped, 0.0},
        {"let go", false, SearchJob::State::NotFound, 1.0},
    };
    for (const Case& c : cases) {
        auto hold = std::make_shared<SearchHold>();
        SearchJob job(SearchSource{std::make_shared<int>(0), hay}, matcher, true, 0, 4096, hold);
        EXPECT_EQ(job.state(), SearchJob::State::Running) << c.name;
        EXPECT_EQ(job.progress(), 0.0) << c.name;
        if (c.stop) {
            job.stop();
        } else {
            hold->release();
        }
        EXPECT_EQ(waitFor(job), c.state) << c.name;
        EXPECT_EQ(job.progress(), c.progress) << c.name;
    }
    // Without a worker (nothing pinned) the hold is not waited at: the search is done when
    // the job is made.
    auto hold = std::make_shared<SearchHold>();
    SearchJob here(SearchSource{nullptr, hay}, matcher, true, 0, 4096, hold);
    EXPECT_EQ(here.state(), SearchJob::State::NotFound);
}

}  // namespace
}  // namespace reda
