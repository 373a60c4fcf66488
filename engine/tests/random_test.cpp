// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: MIT
#include "engine/random.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <thread>

namespace engine {
namespace {

// Sequences recorded from the engine before the generator became a value
// type with one instance per thread: for each start seed, the seed and the
// draw of four steps of RandomUnit, then six RandomBelow calls (n, result,
// seed after the call).
struct Below {
  std::uint32_t N;
  std::uint32_t Result;
  std::uint32_t Seed;
};
struct Recorded {
  std::uint32_t Start;
  std::array<std::uint32_t, 4> Seeds;
  std::array<Extended, 4> Units;
  std::array<Below, 6> Belows;
};

const Recorded kRecorded[] = {
    {0,
     {0x00000001U, 0x08088406U, 0xDC6DAC1FU, 0x33DC589CU},
     {2.32830643653869628906e-10L, 0.0313799395225942134857L, 0.861048467224463820457L,
      0.202580965124070644379L},
     {{{1, 0, 1172187917},
       {6, 4, 2884733762},
       {100, 31, 1368768587},
       {0, 0, 694906232},
       {4294967295, 1598751576, 1598751577},
       {49, 20, 1828254910}}}},
    {1,
     {0x08088406U, 0xDC6DAC1FU, 0x33DC589CU, 0x45DE2B0DU},
     {0.0313799395225942134857L, 0.861048467224463820457L, 0.202580965124070644379L,
      0.272921267198398709297L},
     {{{1, 0, 2884733762},
       {6, 1, 1368768587},
       {100, 16, 694906232},
       {0, 0, 1598751577},
       {4294967295, 1828254909, 1828254910},
       {49, 4, 352239543}}}},
    {42,
     {0x5165A8D3U, 0xE0A11820U, 0x3495F8A1U, 0x2828DF26U},
     {0.317957450402900576591L, 0.877458103001117706299L, 0.205413379007950425148L,
      0.156873652245849370956L},
     {{{1, 0, 84669375},
       {6, 5, 3638705852},
       {100, 72, 3131320749},
       {0, 0, 1705058},
       {4294967295, 2647956970, 2647956971},
       {49, 48, 4260118936}}}},
    {20261207,
     {0x7212AAB4U, 0xD0022585U, 0x7F8B4F9AU, 0x9F93F603U},
     {0.445597332902252674103L, 0.812532753916457295418L, 0.498219466302543878555L,
      0.623351455433294177055L},
     {{{1, 0, 819288592},
       {6, 1, 1192952401},
       {100, 91, 3946893206},
       {0, 0, 805135855},
       {4294967295, 1073363371, 1073363372},
       {49, 22, 1929367645}}}},
    {4294967295,
     {0xF7F77BFCU, 0x33A35BEDU, 0x84FEFFA2U, 0x21DA862BU},
     {0.968620060943067073822L, 0.201711411820724606514L, 0.519515969324856996536L,
      0.13224066304974257946L},
     {{{1, 0, 3754609368},
       {6, 0, 105731641},
       {100, 47, 2042630942},
       {0, 0, 4086028183},
       {4294967295, 1369248243, 1369248244},
       {49, 37, 3304270277}}}},
};

TEST(RandomGenerator, FreeFunctionsKeepTheRecordedSequences) {
  for (const Recorded& r : kRecorded) {
    SCOPED_TRACE(r.Start);
    SetRandomSeed(r.Start);
    for (std::size_t i = 0; i < r.Seeds.size(); ++i) {
      const Extended u = RandomUnit();
      EXPECT_EQ(BitsOf(u), BitsOf(r.Units[i])) << i;
      EXPECT_EQ(RandomSeed(), r.Seeds[i]) << i;
    }
    for (const Below& b : r.Belows) {
      EXPECT_EQ(RandomBelow(b.N), b.Result) << b.N;
      EXPECT_EQ(RandomSeed(), b.Seed) << b.N;
    }
  }
}

TEST(RandomGenerator, ValueTypeKeepsTheRecordedSequences) {
  for (const Recorded& r : kRecorded) {
    SCOPED_TRACE(r.Start);
    RandomGenerator generator(r.Start);
    for (std::size_t i = 0; i < r.Seeds.size(); ++i) {
      EXPECT_EQ(BitsOf(generator.Unit()), BitsOf(r.Units[i])) << i;
      EXPECT_EQ(generator.Seed(), r.Seeds[i]) << i;
    }
    // A copy goes on with the same sequence, independently of the original.
    RandomGenerator copy = generator;
    for (const Below& b : r.Belows) {
      EXPECT_EQ(generator.Below(b.N), b.Result) << b.N;
      EXPECT_EQ(generator.Seed(), b.Seed) << b.N;
    }
    EXPECT_EQ(copy.Step(), r.Belows[0].Seed);
  }
}

TEST(RandomGenerator, EachThreadHasItsOwn) {
  SetRandomSeed(42);
  std::uint32_t otherStart = 1;
  std::uint32_t otherAfter = 0;
  std::thread other([&] {
    // A new thread starts from seed 0 and draws without touching this one's.
    otherStart = RandomSeed();
    SetRandomSeed(7);
    for (int i = 0; i < 1000; ++i) RandomUnit();
    otherAfter = RandomSeed();
  });
  other.join();
  EXPECT_EQ(otherStart, 0U);
  RandomGenerator expected(7);
  for (int i = 0; i < 1000; ++i) expected.Step();
  EXPECT_EQ(otherAfter, expected.Seed());
  EXPECT_EQ(RandomSeed(), 42U);
  EXPECT_EQ(BitsOf(RandomUnit()), BitsOf(kRecorded[2].Units[0]));
}

}  // namespace
}  // namespace engine
