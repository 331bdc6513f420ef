// Reading and writing replay files.
#include "data/replay_file.hpp"

#include <bit>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "data/digest.hpp"
#include "data/player_files.hpp"
#include "data/regular_file.hpp"

namespace nj {
namespace {

constexpr char kMagic[] = "NJREPLAY";
constexpr std::size_t kMagicBytes = 8;
constexpr std::size_t kDigestBytes = 32;
constexpr std::size_t kMaxTextBytes = 64u << 10;  // a mission's name, a banner
constexpr std::size_t kMaxGradeBytes = 32;
constexpr std::size_t kMaxStateBytes = 256u << 10;

// Event tags; a step's byte has the top bit set instead.
constexpr std::uint8_t kStepTag = 0x80;
constexpr std::uint8_t kRepeatTag = 0x01;
constexpr std::uint8_t kKeyTag = 0x02;
constexpr std::uint8_t kActionTag = 0x03;
constexpr std::uint8_t kAssistsTag = 0x04;
constexpr std::uint8_t kEndTag = 0x05;

constexpr std::uint32_t kAssistFlagBits = 0x1F;
bool validAssists(std::uint32_t packed) {
    const std::uint32_t speed = packed >> 8;
    return (packed & 0xFF & ~kAssistFlagBits) == 0 && (speed == 100 || speed == 85 || speed == 70);
}

// ---- writing ----

class Writer {
  public:
    void byte(std::uint8_t b) { out_.push_back(static_cast<char>(b)); }
    void varint(std::uint64_t v) {
        while (v >= 0x80) {
            byte(static_cast<std::uint8_t>(v | 0x80));
            v >>= 7;
        }
        byte(static_cast<std::uint8_t>(v));
    }
    void signedVarint(std::int64_t v) {
        varint((static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63));
    }
    void float32(float f) {
        const std::uint32_t bits = std::bit_cast<std::uint32_t>(f);
        for (int i = 0; i < 4; ++i) byte(static_cast<std::uint8_t>(bits >> (8 * i)));
    }
    void text(const std::string& s) {
        varint(s.size());
        out_ += s;
    }
    void raw(const std::string& s) { out_ += s; }
    const std::string& bytes() const { return out_; }

  private:
    std::string out_;
};

void writeStart(Writer& w, const RunStart& s) {
    w.byte(static_cast<std::uint8_t>(s.source));
    w.varint(s.missionIndex);
    w.text(s.missionHash);
    w.text(s.missionName);
    w.varint(s.approach);
    w.byte(s.perks);
    w.byte(s.bonuses);
    w.varint(s.assists);
    w.varint(s.intelBudget);
    w.varint(s.highestUnlocked);
    w.byte(s.completed);
    for (const std::string& grade : s.grades) w.text(grade);
    w.byte(s.audioEnabled ? 1 : 0);
    w.float32(s.footstepPhase);
    w.varint(s.currentTumbler);
    w.text(s.stealthGrade);
    w.varint(s.lastIntelAward);
    w.text(s.bannerText);
}

void writeEvents(Writer& w, const std::vector<RunEvent>& events) {
    std::uint32_t previousDt = 0;
    for (const RunEvent& e : events) {
        switch (e.kind) {
            case RunEventKind::Step: {
                const std::uint32_t dtBits = std::bit_cast<std::uint32_t>(e.dt);
                w.byte(static_cast<std::uint8_t>(kStepTag | (e.value & kRunCommandBits)));
                w.varint(dtBits ^ previousDt);
                previousDt = dtBits;
                if (e.count > 1) {
                    w.byte(kRepeatTag);
                    w.varint(e.count - 1);
                }
                break;
            }
            case RunEventKind::Key:
                w.byte(kKeyTag);
                w.varint(e.value);
                break;
            case RunEventKind::Action:
                w.byte(kActionTag);
                w.byte(static_cast<std::uint8_t>(e.value));
                break;
            case RunEventKind::Assists:
                w.byte(kAssistsTag);
                w.varint(e.value);
                break;
        }
    }
    w.byte(kEndTag);
}

// ---- reading ----

struct Refused : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Reader {
  public:
    Reader(const std::string& bytes, std::size_t end) : bytes_(bytes), end_(end) {}
    std::uint8_t byte() {
        if (at_ >= end_) throw Refused("the replay is cut short");
        return static_cast<std::uint8_t>(bytes_[at_++]);
    }
    std::uint64_t varint() {
        std::uint64_t v = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            const std::uint8_t b = byte();
            v |= static_cast<std::uint64_t>(b & 0x7F) << shift;
            if ((b & 0x80) == 0) return v;
        }
        throw Refused("the replay holds a number too long to be ours");
    }
    std::uint32_t varint32(const char* what) {
        const std::uint64_t v = varint();
        if (v > 0xFFFFFFFFull)
            throw Refused(std::string("the replay's ") + what + " is out of range");
        return static_cast<std::uint32_t>(v);
    }
    std::int64_t signedVarint() {
        const std::uint64_t v = varint();
        return static_cast<std::int64_t>(v >> 1) ^ -static_cast<std::int64_t>(v & 1);
    }
    float float32() {
        std::uint32_t bits = 0;
        for (int i = 0; i < 4; ++i) bits |= static_cast<std::uint32_t>(byte()) << (8 * i);
        return std::bit_cast<float>(bits);
    }
    std::string text(std::size_t maxBytes, const char* what) {
        const std::uint64_t size = varint();
        if (size > maxBytes) throw Refused(std::string("the replay's ") + what + " is too long");
        if (size > end_ - at_) throw Refused("the replay is cut short");
        std::string s = bytes_.substr(at_, static_cast<std::size_t>(size));
        at_ += static_cast<std::size_t>(size);
        return s;
    }
    std::size_t position() const { return at_; }
    void skip(std::size_t bytes) { at_ += bytes; }

  private:
    const std::string& bytes_;
    std::size_t end_;
    std::size_t at_ = 0;
};

void require(bool ok, const char* why) {
    if (!ok) throw Refused(why);
}

RunStart readStart(Reader& r) {
    RunStart s;
    const std::uint8_t source = r.byte();
    require(source <= static_cast<std::uint8_t>(RunSource::Custom),
            "the replay names an unknown kind of mission");
    s.source = static_cast<RunSource>(source);
    s.missionIndex = r.varint32("mission number");
    s.missionHash = r.text(kDigestBytes, "mission hash");
    require(s.missionHash.size() == (s.source == RunSource::BuiltIn ? 0 : kDigestBytes),
            "the replay's mission hash is damaged");
    s.missionName = r.text(kMaxTextBytes, "mission name");
    s.approach = r.varint32("approach");
    s.perks = r.byte();
    s.bonuses = r.byte();
    require(s.perks < 8 && s.bonuses < 4, "the replay's perks or bonuses are out of range");
    s.assists = r.varint32("assists");
    require(validAssists(s.assists), "the replay's assists are out of range");
    s.intelBudget = r.varint32("intel budget");
    s.highestUnlocked = r.varint32("unlocked operation");
    s.completed = r.byte();
    require(s.completed < 16, "the replay's completed operations are out of range");
    for (std::string& grade : s.grades) grade = r.text(kMaxGradeBytes, "grade");
    const std::uint8_t audio = r.byte();
    require(audio <= 1, "the replay's sound setting is damaged");
    s.audioEnabled = audio == 1;
    s.footstepPhase = r.float32();
    require(std::isfinite(s.footstepPhase) && s.footstepPhase >= 0.0f && s.footstepPhase <= 1.0f,
            "the replay's footstep cadence is out of range");
    s.currentTumbler = r.varint32("tumbler");
    s.stealthGrade = r.text(kMaxGradeBytes, "grade");
    s.lastIntelAward = r.varint32("intel award");
    s.bannerText = r.text(kMaxTextBytes, "banner");
    return s;
}

void addSteps(std::uint64_t& total, std::uint64_t more) {
    if (more > kMaxReplaySteps - total) throw Refused("the replay is longer than any run can be");
    total += more;
}

std::vector<RunEvent> readEvents(Reader& r) {
    std::vector<RunEvent> events;
    std::uint32_t previousDt = 0;
    std::uint64_t steps = 0;
    for (;;) {
        const std::uint8_t tag = r.byte();
        RunEvent e;
        if (tag & kStepTag) {
            e.kind = RunEventKind::Step;
            e.value = tag & kRunCommandBits;
            require(validCommandBits(e.value), "the replay holds a command no key can give");
            previousDt ^= r.varint32("step length");
            e.dt = std::bit_cast<float>(previousDt);
            require(std::isfinite(e.dt) && e.dt >= 0.0f && e.dt <= kMaxReplayStep,
                    "the replay holds a step length out of range");
            addSteps(steps, 1);
        } else if (tag == kRepeatTag) {
            require(!events.empty() && events.back().kind == RunEventKind::Step &&
                        events.back().count == 1,
                    "the replay repeats something that is not a step");
            const std::uint64_t more = r.varint();
            require(more >= 1, "the replay repeats a step no times");
            addSteps(steps, more);
            events.back().count = static_cast<std::uint32_t>(more + 1);
            continue;
        } else if (tag == kKeyTag) {
            e.kind = RunEventKind::Key;
            e.value = r.varint32("key");
        } else if (tag == kActionTag) {
            e.kind = RunEventKind::Action;
            e.value = r.byte();
            require(e.value < kRunActionCount, "the replay holds an unknown action");
        } else if (tag == kAssistsTag) {
            e.kind = RunEventKind::Assists;
            e.value = r.varint32("assists");
            require(validAssists(e.value), "the replay's assists are out of range");
        } else if (tag == kEndTag) {
            return events;
        } else {
            throw Refused("the replay holds an event this game does not know");
        }
        events.push_back(e);
    }
}

RunRecord readBody(Reader& r) {
    RunRecord record;
    record.start = readStart(r);
    record.events = readEvents(r);
    const std::uint8_t outcome = r.byte();
    require(outcome <= static_cast<std::uint8_t>(RunOutcome::LeftForDossier),
            "the replay's outcome is unknown");
    record.outcome = static_cast<RunOutcome>(outcome);
    const std::int64_t score = r.signedVarint();
    require(score >= INT32_MIN && score <= INT32_MAX, "the replay's score is out of range");
    record.score = static_cast<std::int32_t>(score);
    record.missionClock = r.float32();
    require(std::isfinite(record.missionClock) && record.missionClock >= 0.0f,
            "the replay's mission clock is out of range");
    record.finalState = r.text(kMaxStateBytes, "final state");
    return record;
}

}  // namespace

bool validCommandBits(std::uint32_t bits) {
    return bits <= kRunCommandBits && (bits & 3) != 3 && ((bits >> 2) & 3) != 3;
}

std::string encodeReplay(const RunRecord& record) {
    Writer w;
    w.raw(std::string(kMagic, kMagicBytes));
    w.byte(kReplayVersion);
    writeStart(w, record.start);
    writeEvents(w, record.events);
    w.byte(static_cast<std::uint8_t>(record.outcome));
    w.signedVarint(record.score);
    w.float32(record.missionClock);
    w.text(record.finalState);
    w.raw(sha256Raw(record.finalState));
    std::string bytes = w.bytes();
    bytes += sha256Raw(bytes);
    return bytes;
}

bool decodeReplay(const std::string& bytes, RunRecord& record, std::string& why) {
    const std::size_t tail = 2 * kDigestBytes;
    if (bytes.size() < kMagicBytes + 1 + tail || bytes.compare(0, kMagicBytes, kMagic) != 0) {
        why = "not a replay file";
        return false;
    }
    const auto version = static_cast<std::uint8_t>(bytes[kMagicBytes]);
    if (version != kReplayVersion) {
        why = version > kReplayVersion ? "a replay from a newer version of the game"
                                       : "a replay of an unknown version";
        return false;
    }
    const std::size_t bodyEnd = bytes.size() - tail;
    if (!signaturesMatch(sha256Raw(std::string_view(bytes).substr(0, bytes.size() - kDigestBytes)),
                         std::string_view(bytes).substr(bytes.size() - kDigestBytes))) {
        why = "the replay is damaged or was altered (its hash does not match)";
        return false;
    }
    try {
        Reader r(bytes, bodyEnd);
        r.skip(kMagicBytes + 1);  // the magic and version, checked above
        RunRecord read = readBody(r);
        require(r.position() == bodyEnd, "the replay holds bytes after its end");
        require(sha256Raw(read.finalState) == bytes.substr(bodyEnd, kDigestBytes),
                "the replay's final state does not match its hash");
        record = std::move(read);
        return true;
    } catch (const Refused& e) {
        why = e.what();
    } catch (const std::exception&) {
        why = "the replay cannot be read";
    }
    return false;
}

bool readReplayFile(const std::string& path, RunRecord& record, std::string& why) {
    std::string bytes;
    if (!readRegularFile(path, kMaxReplayBytes, bytes)) {
        why = "cannot read " + path + " (missing, not a file, or larger than a replay can be)";
        return false;
    }
    if (!decodeReplay(bytes, record, why)) {
        why = path + ": " + why;
        return false;
    }
    return true;
}

bool writeReplayFile(const std::string& path, const RunRecord& record) {
    return writePlayerFile(path, encodeReplay(record));
}

std::uint64_t replaySteps(const RunRecord& record) {
    std::uint64_t steps = 0;
    for (const RunEvent& e : record.events) {
        if (e.kind == RunEventKind::Step) steps += e.count;
    }
    return steps;
}

}  // namespace nj
