// The registry value reader fed arbitrary value names, types and data, with
// failures of the enumeration at arbitrary places, through the double.
//
// Operations, chosen by one byte each until the input ends:
//   0  a value: name Text(), type (a byte below 0x80 picks one of the codes
//      0 to 11, else a Word() of its own), data Bytes()
//   1  a process variable for the expansion: name Text(), value Text(), each
//      up to its first NUL
//   2  the enumeration fails at index Byte() % 32 with a non-zero code
//
// What must hold, beside no crash, leak or undefined behaviour: the values up
// to the first failing index come back whole and decoded by their type, a
// name that upper-cases to one already read throws the duplicate-key failure
// (a name repeated byte for byte, which no lookup can tell apart, is left out),
// and the key is closed on every path.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "environment/Registry.h"
#include "text/Text.h"
#include "platform/Failure.h"
#include "platform/FakePlatform.h"

namespace velmora {
namespace {

using fuzzing::Require;

constexpr const char* kKey = "Environment";

struct Stored {
  std::string name;
  std::uint32_t type;
  std::vector<std::uint8_t> data;
};

std::string Hex(const std::vector<std::uint8_t>& data) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (const std::uint8_t byte : data) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

std::string WithoutTerminator(const std::vector<std::uint8_t>& data) {
  std::string text(data.begin(), data.end());
  if (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

// Whether the value at index repeats an earlier name byte for byte: a name
// the program cannot tell apart from that one, left out in its favour.
bool RepeatsEarlierName(const std::vector<Stored>& stored, std::uint32_t index) {
  for (std::uint32_t earlier = 0; earlier < index; ++earlier) {
    if (stored[earlier].name == stored[index].name) return true;
  }
  return false;
}

void Check(platform::FakePlatform& fake, const std::vector<Stored>& stored,
           const std::map<std::uint32_t, std::int32_t>& failures,
           const environment::VariableDictionary& values) {
  std::set<std::string> seen;
  for (std::uint32_t index = 0; index < stored.size(); ++index) {
    if (failures.contains(index)) break;
    const Stored& value = stored[index];
    if (RepeatsEarlierName(stored, index)) continue;
    const std::string key = text::UpperCase(value.name);
    Require(seen.insert(key).second, "a duplicate name came back without the failure");
    const environment::VariableItem* item = values.Find(key);
    Require(item != nullptr, "a value before the first failure is missing");
    Require(item->name == value.name, "the name is not the stored name");
    std::string raw;
    std::string expanded;
    if (value.type == platform::kRegSz || value.type == platform::kRegExpandSz) {
      raw = WithoutTerminator(value.data);
      // An expansion past the platform's limit is none at all.
      if (value.type == platform::kRegExpandSz) {
        expanded = fake.environment.ExpandStrings(raw).value_or(std::string());
      }
    } else if (value.type == platform::kRegBinary) {
      raw = Hex(value.data);
    }
    Require(item->raw == raw, "the raw text does not match the data");
    Require(item->expanded == expanded, "the expanded text is wrong");
  }
  Require(values.Count() == seen.size(), "more values than were stored");
}

// Whether the enumeration meets a name it already read before it fails.
bool MeetsDuplicate(const std::vector<Stored>& stored,
                    const std::map<std::uint32_t, std::int32_t>& failures) {
  std::set<std::string> seen;
  for (std::uint32_t index = 0; index < stored.size(); ++index) {
    if (failures.contains(index)) return false;
    if (RepeatsEarlierName(stored, index)) continue;
    if (!seen.insert(text::UpperCase(stored[index].name)).second) return true;
  }
  return false;
}

}  // namespace

int FuzzOne(const std::uint8_t* data, std::size_t size) {
  fuzzing::FuzzInput in(data, size);
  platform::FakePlatform fake;
  fake.registry.CreateKey(platform::kCurrentUser, kKey);
  std::vector<Stored> stored;
  std::map<std::uint32_t, std::int32_t> failures;
  while (!in.Empty()) {
    switch (in.Byte() % 3) {
      case 0: {
        Stored value;
        value.name = in.Text();
        const std::uint8_t pick = in.Byte();
        value.type = pick < 0x80 ? pick % 12u : in.Word();
        value.data = in.Bytes();
        fake.registry.AppendValue(platform::kCurrentUser, kKey, value.name, value.type, value.data);
        stored.push_back(std::move(value));
        break;
      }
      case 1: {
        // A process variable cannot hold a NUL: the environment block is
        // made of NUL-terminated texts.
        const std::string name = fuzzing::UpToNul(in.Text());
        fake.environment.Set(name, fuzzing::UpToNul(in.Text()));
        break;
      }
      default: {
        const std::uint32_t index = in.Byte() % 32u;
        const std::int32_t code = static_cast<std::int32_t>(in.Word() | 1u);
        fake.registry.FailValue(index, code);
        failures.emplace(index, code);
        break;
      }
    }
  }

  const bool duplicate = MeetsDuplicate(stored, failures);
  try {
    const environment::VariableDictionary values =
        environment::EnumRegistryValues(fake.Services(), platform::kCurrentUser, kKey);
    Require(!duplicate, "a duplicate name was taken in");
    Check(fake, stored, failures, values);
  } catch (const platform::Failure& failure) {
    Require(duplicate && failure.Number() == platform::kFailureDuplicateKey,
            "a failure other than the duplicate name");
  }
  Require(fake.registry.OpenHandles() == 0, "the key was left open");
  return 0;
}

}  // namespace velmora

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return velmora::FuzzOne(data, size);
}
