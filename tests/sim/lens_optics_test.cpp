// The simulated optics in simulated time.
#include <gtest/gtest.h>

#include <string>

#include "lens/Optics.h"

namespace {

using sim::lens::AutoFocus;
using sim::lens::Axis;
using sim::lens::i64;
using sim::lens::Settling;
using sim::lens::Shuttle;
using sim::lens::u64;

TEST(LensAxis, TravelsAtItsSpeedAndStopsAtItsTargetOrLimit) {
  struct Case {
    i64 start;
    i64 target;
    double speed;  // steps per second
    u64 elapsed;   // milliseconds after the move began
    i64 position;
  };
  const Case cases[] = {
      {2000, 7000, 4000.0, 0, 2000},    {2000, 7000, 4000.0, 500, 4000},
      {2000, 7000, 4000.0, 1250, 7000}, {2000, 7000, 4000.0, 9000, 7000},
      {7000, 2000, 1000.0, 1000, 6000}, {2000, 20000, 4000.0, 5000, 9900},
      {2000, -50, 4000.0, 5000, 100},   {2000, 7000, 0.0, 0, 7000},
      {5000, 5000, 4000.0, 10, 5000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.start) + " -> " + std::to_string(c.target) + " after " +
                 std::to_string(c.elapsed) + " ms");
    Axis axis(100, 9900, c.start);
    axis.MoveTo(c.target, c.speed, 1000);
    EXPECT_EQ(axis.PositionAt(1000 + c.elapsed), c.position);
    EXPECT_EQ(axis.Target(), axis.Clamp(c.target));
  }
}

TEST(LensAxis, ANewMoveStartsWhereTheAxisIsAndRunsStopWhereTheyAre) {
  Axis axis(0, 1000, 500);
  axis.MoveTo(1000, 100.0, 0);
  axis.MoveTo(0, 100.0, 2000);  // turned back at 700
  EXPECT_EQ(axis.PositionAt(2000), 700);
  EXPECT_EQ(axis.PositionAt(3000), 600);
  axis.Run(1, 200.0, 3000);
  EXPECT_EQ(axis.Target(), 1000);
  EXPECT_EQ(axis.PositionAt(3500), 700);
  axis.Run(0, 0.0, 3500);
  EXPECT_EQ(axis.Target(), 700);
  EXPECT_FALSE(axis.MovingAt(9000));
  EXPECT_EQ(axis.PositionAt(9000), 700);
}

TEST(LensAutoFocus, SearchesCoarseThenFineAndReportsItsResultWhenDone) {
  struct Case {
    bool fast;
    bool fails;
    u64 at;  // after the start
    int status;
    int result;
  };
  const Case cases[] = {
      {false, false, 0, 2, 0},    {false, false, 899, 2, 0},  {false, false, 900, 3, 0},
      {false, false, 1799, 3, 0}, {false, false, 1800, 1, 1}, {true, false, 449, 2, 0},
      {true, false, 450, 3, 0},   {true, false, 900, 1, 1},   {true, true, 900, 1, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.fast ? "fast" : "full") + (c.fails ? " failing" : "") + " at " +
                 std::to_string(c.at));
    AutoFocus autofocus;
    EXPECT_EQ(autofocus.StatusAt(0).code, 1);  // nothing to wait for
    autofocus.Start(c.fast, c.fails, 100);
    EXPECT_EQ(autofocus.StatusAt(100 + c.at).code, c.status);
    EXPECT_EQ(autofocus.ResultAt(100 + c.at).code, c.result);
    EXPECT_EQ(autofocus.RunningAt(100 + c.at), c.status != 1);
  }
}

TEST(LensParts, AShuttleIsWhereItLeftUntilItArrives) {
  Shuttle flag(0);
  flag.Go(1, 800, 1000);
  EXPECT_TRUE(flag.MovingAt(1000));
  EXPECT_EQ(flag.PositionAt(1799), 0);
  EXPECT_EQ(flag.PositionAt(1800), 1);
  EXPECT_FALSE(flag.MovingAt(1800));
  flag.Go(1, 800, 2000);  // already there
  EXPECT_FALSE(flag.MovingAt(2000));
}

TEST(LensParts, ATemperatureSettlesOnItsTarget) {
  Settling temperature(25.0);
  temperature.Aim(30.0, 0);
  EXPECT_DOUBLE_EQ(temperature.At(0), 25.0);
  const double early = temperature.At(2000);
  EXPECT_GT(early, 25.0);
  EXPECT_LT(early, 30.0);
  EXPECT_NEAR(temperature.At(60000), 30.0, 1e-3);
  temperature.Aim(25.0, 2000);  // turned back from where it was
  EXPECT_DOUBLE_EQ(temperature.At(2000), early);
  EXPECT_NEAR(temperature.At(62000), 25.0, 1e-3);
}

}  // namespace
