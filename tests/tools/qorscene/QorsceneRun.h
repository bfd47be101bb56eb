// The qorscene tool for the tool tests: runs, what it wrote, and the scene
// files the demo ships.
#pragma once

#include "scene/format/QorFile.h"
#include "support/ToolRun.h"

#include <string>
#include <vector>

// qorscene with a_arguments (a shell command line).
ToolRun qorscene(const std::string& a_arguments);

// The scene file at a_path through the demo's reader; the test fails when
// it cannot be read.
QorFile readScene(const std::string& a_path);

// Every scene file of the built content; empty when the content is not
// built.
std::vector<std::string> shippedScenes();
