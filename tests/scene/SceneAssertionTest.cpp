// The scene classes refuse what their callers must never pass, with the
// expression and the source named in the assertion report.
#include "scene/Material.h"
#include "scene/Mesh.h"
#include "scene/QorLoader.h"
#include "scene/Scene.h"

#include <gtest/gtest.h>

TEST(SceneAssertionTest, RefusesMissingArguments)
{
    Scene scene(nullptr);
    EXPECT_DEATH(Material material(nullptr), "a_renderer.*Material");
    EXPECT_DEATH(Mesh::create(nullptr, nullptr, nullptr), "a_vertexBuffer.*Mesh");
    EXPECT_DEATH(QorLoader::load(nullptr, nullptr, "hog.qor"),
                 "a_tarvo && a_renderer && a_filename.*QorLoader");
    EXPECT_DEATH(scene.render(), "m_renderer.*Scene");
    EXPECT_DEATH(scene.renderLights(), "m_renderer && m_camera.*Scene");
}
