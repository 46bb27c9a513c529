#pragma once
// What the dialog tests share: a clean settings key, the seam scripted, a
// scratch program folder, and readers of the registry as it stands.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "form.h"
#include "scratch.h"
#include "state.h"

namespace vmtest {

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The message boxes asked so far.
    int messageCount() const;
    std::string lastMessage() const;
    ScratchDir dir;
};

// A value as text ("<missing>" when absent); a REG_DWORD as its decimal number.
std::string regText(HKEY root, const std::string& key, const std::string& name);
std::string setting(const std::string& name);
void putSetting(const std::string& name, const std::string& value);
void putDword(const std::string& key, const std::string& name, DWORD value);
// Every value under the Settings key, "name=value" joined by "|".
std::string allSettings();

} // namespace vmtest
