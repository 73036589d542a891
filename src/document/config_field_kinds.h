#pragma once
// The kinds of fields the sections are made of, for the files that describe
// the sections. Each takes the bits or bytes of a record view.
#include <string>
#include <string_view>
#include <vector>

#include "document/config_fields.h"

namespace wk::config {

// The items of a list table (anything with a code and an English text).
template <class List>
std::vector<Item> itemsOf(const List& list) {
  std::vector<Item> items;
  for (const auto& entry : list) items.push_back({entry.code, std::string(entry.text)});
  return items;
}

// One item of a list, stored as its code; a code no item carries is read as
// that code.
Field choiceField(std::string key, std::string label, Accessor acc, std::vector<Item> items, ImageBlock scope);
// A check box: one bit, or a whole byte holding 0 or 1 (anything else is
// read as its code).
Field booleanField(std::string key, std::string label, Accessor acc, ImageBlock scope);
// A whole number: stored + bias, every stored value allowed.
Field integerField(std::string key, std::string label, Accessor acc, ImageBlock scope, int bias = 0);
// Seconds.
Field secondsField(std::string key, std::string label, Accessor acc, ImageBlock scope);
// Centidegrees, signed 16-bit (the accessor gives the 16 bits).
Field centidegreesField(std::string key, std::string label, Accessor acc, ImageBlock scope);
// A set of items, item i the bit bits[i].
Field flagsField(std::string key, std::string label, std::vector<std::string> labels, std::vector<Bits> bits,
                 ImageBlock scope);
// A counted one-byte-per-character alias (AliasRecord) at offset.
Field aliasField(std::string key, std::string label, std::size_t offset);
// A counted UTF-16 comment of 64 bytes at offset (the SMS rules' and the
// keys' comments), read and stored through its record view.
struct CommentView {
  std::size_t maxLength;
  std::function<std::u16string(std::span<std::uint8_t>)> read;
  std::function<void(std::span<std::uint8_t>, std::u16string_view)> store;
};
Field commentField(std::string key, std::string label, std::size_t offset, CommentView view);
// A phone number (PhoneNumberField) at offset, in a record of scope.
Field phoneField(std::string key, std::string label, std::size_t offset, ImageBlock scope);

// A phone number stored as "My numbers" are: all 10 bytes cleared, then the
// number; so the field holds all 10 bytes.
Field wholePhoneField(std::string key, std::string label, std::size_t offset, ImageBlock scope);
// A text of one byte per character after a count byte (and gap bytes the
// text's store writes too), read and stored through a record view.
struct CountedText {
  std::size_t countAt;  // image offset of the count
  std::size_t textAt;   // image offset of the first character
  std::size_t maxLength;
  std::function<std::u16string(const ConfigImage&)> read;
  std::function<void(ConfigImage&, std::u16string_view)> store;
  // Why a character cannot be stored as itself; nothing when it can.
  std::function<std::optional<std::string>(char16_t)> refuse;
};
Field countedTextField(std::string key, std::string label, ImageBlock scope, CountedText text);

// Text conversions of the core's UTF-16 texts.
std::string utf8(std::u16string_view text);
std::u16string utf16(std::string_view text);

// Describing the sections, one file each.
void describeSmsData(Description& description);
void describeChannels(Description& description);
void describeOneWire(Description& description);
void describeMisc(Description& description);
void describeReports(Description& description);

}  // namespace wk::config
