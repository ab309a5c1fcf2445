// The installation folder on Windows: the registry value Tarvik itself keeps, read as UTF-8.
#include <gtest/gtest.h>

#include "app/settings.h"
#include "platform/settings_store.h"

namespace tarvik::test {
namespace {

TEST(RegistrySettingsTest, TheInstallationFolderComesFromTheRegistry) {
  // A section of its own, so that the user's real value is not touched by the round trip.
  ASSERT_TRUE(platform::WriteSetting("Tarvik", "Prova unità", "Cartella", "C:\\Società\\Dati è\\"));
  EXPECT_EQ(platform::ReadSetting("Tarvik", "Prova unità", "Cartella"), "C:\\Società\\Dati è\\");
  EXPECT_EQ(platform::ReadSetting("Tarvik", "Prova unità", "Assente"), std::nullopt);
  EXPECT_EQ(platform::ReadSetting("Tarvik", "Sezione assente", "Cartella"), std::nullopt);

  ASSERT_TRUE(platform::WriteSetting("Tarvik", "Installazione", "Cartella", "Z:\\tmp\\Tarvik prova\\"));
  EXPECT_EQ(app::ReadInstallationFolder(), "Z:\\tmp\\Tarvik prova\\");
}

}  // namespace
}  // namespace tarvik::test
