#pragma once

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QFont>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace pelmo::ui::qt {

// The scale variables the user set, taken before the application object exists.
// Qt's own scaling would put the sprite windows' places in logical pixels while
// the X requests that draw them are in device pixels, and the mascot would be
// drawn at one scale and walk at another; so Qt is started with its scaling off
// whatever the environment says, and the program scales the sprites itself.
// The variables go back into the environment once Qt has started, for the
// programs it opens.
class ScaleVariables {
 public:
  ScaleVariables();  // before the application object
  void Restore();    // once it exists

  std::optional<int> qtScaleFactor;
  std::optional<int> gdkScale;

 private:
  std::array<std::optional<QByteArray>, 3> saved_;
};

// The desktop's scale now: the user's variables, else the display's Xft.dpi.
int ReadDesktopScale(const ScaleVariables& variables);

// The menus and boxes follow the desktop's scale through their fonts: Qt sizes
// text by the display's Xft.dpi itself, so only a scale asked for by a variable
// makes the font larger than `base`, the font the application started with.
void FollowScaleInText(const QFont& base, const ScaleVariables& variables);

// Calls `changed` when the X resources, which hold Xft.dpi, are replaced.
class ResourceWatcher : public QAbstractNativeEventFilter {
 public:
  explicit ResourceWatcher(std::function<void()> changed);
  ~ResourceWatcher() override;
  ResourceWatcher(const ResourceWatcher&) = delete;
  ResourceWatcher& operator=(const ResourceWatcher&) = delete;

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  std::function<void()> changed_;
  std::uint32_t root_ = 0;
};

}  // namespace pelmo::ui::qt
