#pragma once
// The markup of the markup label: words, blanks and a few tags, with <color NAME> and named
// colours. The label (MarkupLabel.h) paints the tokens; splitting and colour names need no platform.
#include <cstdint>
#include <vector>

#include "storage/Text.h"

enum class MarkupTag {
  None,  // a word or a blank
  Paragraph,
  Break,
  Bold,
  BoldEnd,
  Italic,
  ItalicEnd,
  Underline,
  UnderlineEnd,
  Colour,  // the next word names the colour
  ColourEnd,
  Body,
  BodyEnd,
};

struct MarkupToken {
  enum Kind { Word, Blank, Tag } kind;
  WStringView text;  // points into the text given to SplitMarkup
  MarkupTag tag = MarkupTag::None;
};

// Splits the text into words, single blanks and tags (compared without regard to case). "<color"
// is a tag only when a blank follows; the blank belongs to it. A word ends before a blank or a
// tag, or after a ">", so that "<color red>text" gives the colour word "red>" and then "text".
// Line breaks and tabs count as blanks.
std::vector<MarkupToken> SplitMarkup(WStringView text);

// The colour a colour word names, as 0xRRGGBB: one of the sixteen names (without regard to case,
// with or without the closing ">"), else exactly six hexadecimal digits and ">", else black.
uint32_t MarkupColour(WStringView word);
