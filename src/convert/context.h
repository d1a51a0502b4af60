// What every converter is handed besides its job: the settings, the host, the report it fills and the sink
// its output files go to.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "convert/settings.h"
#include "platform/host.h"
#include "platform/output_sink.h"

namespace granvel {

// What one conversion did: the files it wrote, what it changed or dropped on the way (notes; a note is not
// a failure) and, when it failed, why.
struct ConvertReport {
  std::vector<std::string> Written;
  std::vector<std::string> Notes;
  std::string Reason;  // the first failure's one-line reason
  // The first failure was the image's size against its unit or its banks (a file a slot of another unit, or
  // other settings, would take), not a fault of the file.
  bool SizeUnmatched = false;
  // A ".png" was carried as data because PNG_Image is off.
  bool PngCarried = false;
  // The run was cancelled while this file converted: what it was writing is gone, what it finished stays.
  bool Cancelled = false;
};

inline constexpr const char* kCancelledReason = "cancelled";

// What the files of one run share (the batch's RunLedger): the outputs written so far, so that no input
// replaces a file another input of the run wrote; the notes a run says once; the answers the user chose to
// keep for the rest of the run.
class RunMemory {
 public:
  virtual ~RunMemory() = default;
  // Claims `path` for `input`. True when it may be written; when `input` wrote that name already, `path`
  // becomes a free name beside it and `note` says so. False with `error` when another input wrote it, or
  // the same file named earlier in the run.
  virtual bool Claim(const std::string& input, std::string& path, std::string& note, std::string& error) = 0;
  // True the first time the run is asked about `topic`, false after that.
  virtual bool FirstTime(const std::string& topic) = 0;
  // The answer kept for the question of `caption`, if the user chose to keep one.
  virtual std::optional<bool> KeptAnswer(const std::string& caption) const = 0;
  virtual void KeepAnswer(const std::string& caption, bool answer) = 0;
  // The current file has done `done` of its `total` steps (pages, banks); the run shows it.
  virtual void Advance(std::uint64_t done, std::uint64_t total) {
    (void)done;
    (void)total;
  }
};

class ConvertContext {
 public:
  // Output goes to the file system unless `output` names another sink. With a run's `memory`, every output
  // path is claimed in it for `input` before it is written.
  ConvertContext(const ConvertSettings& settings, Host& host, ConvertReport& report,
                 OutputSink* output = nullptr, RunMemory* memory = nullptr, std::string input = {})
      : settings_(settings),
        host_(host),
        report_(report),
        output_(output ? *output : DiskOutput()),
        memory_(memory),
        input_(std::move(input)) {}

  const ConvertSettings& Settings() const { return settings_; }
  Host& GetHost() const { return host_; }

  // Records a failure's reason (the first one is kept) and returns false, so converters can `return
  // ctx.Fail(..)`.
  bool Fail(std::string reason) const {
    if (report_.Reason.empty())
      report_.Reason = std::move(reason);
    return false;
  }
  // Fail for an image whose size does not fit the unit or the banks it is cut into.
  bool FailSize(std::string reason) const {
    if (report_.Reason.empty())
      report_.SizeUnmatched = true;
    return Fail(std::move(reason));
  }
  // Records that a ".png" was carried as data, with the note that says how to convert it as a picture.
  void NotePngCarried() const {
    report_.PngCarried = true;
    Note(std::string("carried as binary data, not as a picture: ") + kPngImageRemedy);
  }
  // Records a file that was written.
  void Wrote(const std::string& path) const { report_.Written.push_back(path); }
  // Records what the conversion changed or dropped without failing, in one line.
  void Note(std::string text) const { report_.Notes.push_back(std::move(text)); }
  // Note, once a run for each `topic`.
  void NoteOnce(const std::string& topic, std::string text) const {
    if (!memory_ || memory_->FirstTime(topic))
      Note(std::move(text));
  }

  // Asks the host a Yes/No question, offering to keep the answer for the rest of the run; an answer kept
  // earlier in the run is given without asking.
  bool Ask(const std::string& caption, const std::string& text) const {
    if (memory_) {
      if (const std::optional<bool> kept = memory_->KeptAnswer(caption))
        return *kept;
    }
    bool keep = false;
    const bool answer = host_.AskYesNoForRun(caption, text, keep);
    if (keep && memory_)
      memory_->KeepAnswer(caption, answer);
    return answer;
  }

  // Between the steps of a long file (its pages or banks): says how far it is and returns false, recording
  // the file as cancelled, once the user asked to stop the run. Nothing of the step not yet made is written.
  bool Step(std::uint64_t done, std::uint64_t total) const {
    if (memory_)
      memory_->Advance(done, total);
    if (!host_.CancelRequested())
      return true;
    report_.Cancelled = true;
    return Fail(kCancelledReason);
  }

  // True once Step found the run cancelled: a converter then puts nothing more in place.
  bool Cancelled() const { return report_.Cancelled; }

  // Claims an output path in the run's memory (see RunMemory::Claim); a refusal is recorded as the failure.
  // Every output is claimed before it is opened.
  bool ClaimOutput(std::string& path) const {
    std::string note, error;
    if (memory_ && !memory_->Claim(input_, path, note, error))
      return Fail(error);
    if (!note.empty())
      Note(note);
    return true;
  }

  // Writes a whole output file through the sink and records it; a failure is recorded with its reason.
  bool WriteOutput(std::string path, const std::vector<std::uint8_t>& bytes) const {
    std::string error;
    if (!ClaimOutput(path))
      return false;
    if (!output_.WriteFile(path, bytes, error))
      return Fail(error);
    Wrote(path);
    return true;
  }
  // Makes an output folder through the sink unless it exists.
  bool EnsureOutputFolder(const std::string& path) const {
    std::string error;
    return output_.EnsureFolder(path, error) || Fail(error);
  }

 private:
  const ConvertSettings& settings_;
  Host& host_;
  ConvertReport& report_;
  OutputSink& output_;
  RunMemory* memory_;
  std::string input_;
};

}  // namespace granvel
