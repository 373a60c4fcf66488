// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The reading game without its window: the board's pictures and the word
// list, kept in pairs, the dealing of a game, the words still to place and
// the check of a chosen word against a picture.
#pragma once

#include <QImage>
#include <QLocale>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "random_generator.h"

namespace bildwort {

enum class Language : std::uint8_t { German = 0, English = 1 };

// The locale of a word language, for sorting the words and for reading them
// aloud. Named outright: the program's default locale is C for numbers and
// says nothing about the words.
QLocale WordLocale(Language language);

class ReadingGame {
 public:
  static constexpr int kRows = 10;
  static constexpr int kColumns = 12;
  static constexpr int kBoardCells = kRows * kColumns;
  static constexpr int kShuffleSwaps = 10001;

  // Line i of the word list belongs to picture i. Lines beyond the board's
  // 120 cells are dropped; a missing picture is a null image.
  ReadingGame(std::vector<std::string> wordList, std::vector<QImage> pictures,
              RandomGenerator& random);

  // N, the number of pictures on the board (0 .. 120).
  int Count() const { return static_cast<int>(wordList_.size()); }

  // Shuffles the pairs further from their present order (10001 random
  // swaps), then puts the first `pictures` pairs (all when there are fewer)
  // on the board and their words in the list: a short game draws from the
  // whole list.
  void Deal(int pictures = kBoardCells);

  // How many pairs the last deal put on the board.
  int Dealt() const { return dealt_; }

  const std::string& Line(int index) const { return wordList_.at(static_cast<size_t>(index)); }
  const QImage& Picture(int index) const { return pictures_.at(static_cast<size_t>(index)); }

  // The word that names picture `index`, decoded for display.
  QString WordOf(int index, Language language) const;

  // The word that the board position expects is the word of the same index.
  // Accepts `entryIndex` (the index a list entry carries) for the picture at
  // `cellIndex` when both are equal and still in play; then the word and the
  // picture leave the game. Returns whether it was accepted.
  bool Check(int entryIndex, int cellIndex);

  bool IsOnBoard(int index) const;
  int Remaining() const { return remaining_; }
  bool IsFinished() const { return remaining_ == 0; }

 private:
  void Shuffle();

  std::vector<std::string> wordList_;
  std::vector<QImage> pictures_;
  std::vector<bool> onBoard_;
  int remaining_ = 0;
  int dealt_ = 0;
  RandomGenerator& random_;
};

}  // namespace bildwort
