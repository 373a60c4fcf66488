// SPDX-FileCopyrightText: 2026 The Zelv developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "reading_game.h"

#include <algorithm>
#include <utility>

#include "word_list.h"
#include "zelvlib/cp1252.h"

namespace bildwort {

QLocale WordLocale(Language language) {
  return language == Language::German ? QLocale(QLocale::German, QLocale::Germany)
                                      : QLocale(QLocale::English, QLocale::UnitedKingdom);
}

ReadingGame::ReadingGame(std::vector<std::string> wordList, std::vector<QImage> pictures,
                         RandomGenerator& random)
    : wordList_(std::move(wordList)), pictures_(std::move(pictures)), random_(random) {
  if (wordList_.size() > static_cast<size_t>(kBoardCells)) wordList_.resize(kBoardCells);
  pictures_.resize(wordList_.size());
  onBoard_.assign(wordList_.size(), false);
}

void ReadingGame::Shuffle() {
  const int n = Count();
  if (n == 0) return;
  for (int swap = 0; swap < kShuffleSwaps; ++swap) {
    const auto a = static_cast<size_t>(random_.Below(n));
    const auto b = static_cast<size_t>(random_.Below(n));
    std::swap(pictures_[a], pictures_[b]);
    std::swap(wordList_[a], wordList_[b]);
  }
}

void ReadingGame::Deal(int pictures) {
  Shuffle();
  dealt_ = std::clamp(pictures, 0, Count());
  onBoard_.assign(wordList_.size(), false);
  std::fill_n(onBoard_.begin(), dealt_, true);
  remaining_ = dealt_;
}

QString ReadingGame::WordOf(int index, Language language) const {
  const std::string& line = Line(index);
  return zelv::FromWindows1252(language == Language::German ? GermanWordOf(line)
                                                            : EnglishWordOf(line));
}

bool ReadingGame::IsOnBoard(int index) const {
  return index >= 0 && index < Count() && onBoard_[static_cast<size_t>(index)];
}

bool ReadingGame::Check(int entryIndex, int cellIndex) {
  if (entryIndex != cellIndex || !IsOnBoard(cellIndex)) return false;
  onBoard_[static_cast<size_t>(cellIndex)] = false;
  --remaining_;
  return true;
}

}  // namespace bildwort
