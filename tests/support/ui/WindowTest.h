#pragma once
// The fixture of window tests: a host frame for the windows under test, destroyed after each
// test, and scripted prompts for the messages they show.

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/frame.h>

#include "support/ScriptedPrompts.h"

namespace vornel::testing {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override { frame = new wxFrame(nullptr, wxID_ANY, "host"); }
  void TearDown() override {
    frame->Destroy();
    wxTheApp->ProcessIdle();
  }
  wxFrame* frame = nullptr;
  ScriptedPrompts prompts;
};

}  // namespace vornel::testing
