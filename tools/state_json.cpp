#include "tools/state_json.h"

#include <cstdio>
#include <initializer_list>

namespace pelmo::tools {

namespace {

class JsonObject {
 public:
  JsonObject() { out_ += '{'; }

  void Int(std::string_view key, long long value) {
    Key(key);
    out_ += std::to_string(value);
  }
  void Bool(std::string_view key, bool value) {
    Key(key);
    out_ += value ? "true" : "false";
  }
  void String(std::string_view key, std::string_view value) {
    Key(key);
    Quote(value);
  }
  void StringOrNull(std::string_view key, std::string_view value) {
    if (value.empty()) {
      Key(key);
      out_ += "null";
    } else {
      String(key, value);
    }
  }
  void Ints(std::string_view key, std::initializer_list<long long> values) {
    Key(key);
    out_ += '[';
    bool first = true;
    for (long long v : values) {
      if (!first) out_ += ',';
      first = false;
      out_ += std::to_string(v);
    }
    out_ += ']';
  }
  void Strings(std::string_view key, const std::vector<std::string_view>& values) {
    Key(key);
    out_ += '[';
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (i > 0) out_ += ',';
      Quote(values[i]);
    }
    out_ += ']';
  }
  std::string Finish() {
    out_ += '}';
    return std::move(out_);
  }

 private:
  void Key(std::string_view key) {
    if (out_.size() > 1) out_ += ',';
    Quote(key);
    out_ += ':';
  }
  // UTF-8 passes through unchanged; only what JSON forbids raw is escaped.
  void Quote(std::string_view text) {
    out_ += '"';
    for (char c : text) {
      if (c == '"' || c == '\\') {
        out_ += '\\';
        out_ += c;
      } else if (static_cast<unsigned char>(c) < 0x20) {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned char>(c));
        out_ += buffer;
      } else {
        out_ += c;
      }
    }
    out_ += '"';
  }

  std::string out_;
};

}  // namespace

std::string StateJson(const engine::Engine& engine, const StepExtras& extras) {
  const engine::MascotState& st = engine.State();
  const engine::Scene& sc = engine.GetScene();
  JsonObject j;
  j.Int("tick", st.tick);
  j.Int("mode", st.mode);
  j.Int("food", st.food);
  j.Int("targetX", st.targetX);
  j.Int("targetY", st.targetY);
  j.Int("dragging", st.dragging);
  j.Ints("form1", {sc.Form1.Left, sc.Form1.Top, sc.Form1.Width, sc.Form1.Height});
  j.Bool("form1Visible", sc.Form1.Visible);
  j.Bool("timer", sc.Timer1Enabled);
  j.Ints("img", {sc.PelmoImg.Left, sc.PelmoImg.Top, sc.PelmoImg.Width, sc.PelmoImg.Height});
  j.Bool("stretch", sc.PelmoImg.Stretch);
  j.StringOrNull("picture", sc.PelmoImg.Picture);
  j.Ints("foodForm", {sc.FoodForm.Left, sc.FoodForm.Top});
  j.StringOrNull("foodPicture", sc.FoodImg.Picture);
  j.Ints("rainForm", {sc.RainForm.Left, sc.RainForm.Top});
  j.Bool("rainVisible", sc.RainForm.Visible);
  j.Int("rainImgTop", sc.RainImg.Top);
  j.Ints("sunForm", {sc.SunForm.Left, sc.SunForm.Top});
  j.Bool("sunVisible", sc.SunForm.Visible);
  j.StringOrNull("sunPicture", sc.Img.Picture);
  j.String("edit1", sc.Edit1);
  j.String("edit2", sc.Edit2);
  std::vector<std::string_view> cues;
  for (const engine::CueEvent& cue : extras.cues)
    cues.push_back(cue.kind == engine::CueEvent::Kind::Stop ? std::string_view("stop") : cue.name);
  j.Strings("cues", cues);
  j.Bool("closed", sc.Form1Closed);
  if (extras.message != nullptr) {
    j.String("message", extras.message->text);
    j.String("caption", extras.message->caption);
  }
  if (!extras.openUrl.empty()) j.String("open", extras.openUrl);
  return j.Finish();
}

}  // namespace pelmo::tools
