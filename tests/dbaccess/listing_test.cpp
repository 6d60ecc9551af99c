// The listing primitive: which calls it makes for each answer of the database and each step the
// handler asks for, and what it reports.
#include <gtest/gtest.h>

#include <vector>

#include "dbaccess/listing.h"

namespace grx::dbaccess {
namespace {

// A scripted listing: each call answers the next error id (as the result itself) and records its mode.
struct Script {
  explicit Script(std::vector<std::uint32_t> scripted) : answers(std::move(scripted)) {}
  std::vector<std::uint32_t> answers;
  std::vector<MODE> modes;
  std::size_t next = 0;

  template <class OnItem>
  ListingOutcome Run(OnItem&& onItem) {
    return ForEachListedWith([](GlResult r) { return static_cast<std::uint32_t>(r); },
                             [&](MODE mode) {
                               modes.push_back(mode);
                               return static_cast<GlResult>(next < answers.size() ? answers[next++] : 36);
                             },
                             onItem);
  }
};

TEST(Listing, EndsOnTheLastElementOrOnNothing) {
  Script last({0, 0, 166});
  int items = 0;
  const auto outcome = last.Run([&] { ++items; });
  EXPECT_TRUE(outcome.ended());
  EXPECT_EQ(items, 3);
  EXPECT_EQ(last.modes, (std::vector<MODE>{M_FIRST, M_NEXT, M_NEXT}));

  Script nothing({36});
  EXPECT_TRUE(nothing.Run([&] { ++items; }).ended());
  EXPECT_EQ(items, 3);
  EXPECT_EQ(nothing.modes.size(), 1u);

  Script endAfterZero({0, 36});
  EXPECT_TRUE(endAfterZero.Run([&] { ++items; }).ended());
  EXPECT_EQ(items, 4);
}

TEST(Listing, AFailureIsReportedWithItsResultAndDeliversNothing) {
  Script failing({0, 0x20125});
  int items = 0;
  const auto outcome = failing.Run([&] { ++items; });
  EXPECT_TRUE(outcome.failed());
  EXPECT_EQ(outcome.result, 0x20125u);
  EXPECT_EQ(outcome.errorId, 0x20125u);
  EXPECT_EQ(items, 1);
}

TEST(Listing, TheHandlerStopsOrAsksForOneMoreCallAfterTheLast) {
  Script stopped({0, 0, 0});
  int items = 0;
  const auto outcome = stopped.Run([&] { return ++items == 2 ? ListingStep::Stop : ListingStep::Next; });
  EXPECT_TRUE(outcome.stopped());
  EXPECT_EQ(stopped.modes.size(), 2u);

  // After a last element the handler may ask for one more M_NEXT; its answer ends the listing.
  Script again({166, 36});
  EXPECT_TRUE(again.Run([] { return ListingStep::NextAfterLast; }).ended());
  EXPECT_EQ(again.modes, (std::vector<MODE>{M_FIRST, M_NEXT}));

  Script again166({166, 0x10});
  EXPECT_TRUE(again166.Run([] { return ListingStep::NextAfterLast; }).failed());
}

TEST(Listing, AnswersOfTheProtocol) {
  EXPECT_TRUE(ListingDelivered(0));
  EXPECT_TRUE(ListingDelivered(166));
  EXPECT_FALSE(ListingDelivered(36));
  EXPECT_TRUE(ListingAnswered(36));
  EXPECT_FALSE(ListingAnswered(27));
}

} // namespace
} // namespace grx::dbaccess
