#include <gtest/gtest.h>

#include "OrvellaApp/SceneCapture.h"

using namespace orvel;

TEST(SceneRequest, OnlyTheScreenshotFileMakesARequestAndScenesPickTheirPage) {
    struct Case {
        LaunchEnvironment environment;
        bool requested;
        QString page;
    };
    const Case cases[] = {
        {{}, false, {}},
        {{{"ORVELLA_SCENE", "kit"}}, false, {}},
        {{{"ORVELLA_SCREENSHOT", ""}}, false, {}},
        {{{"ORVELLA_SCREENSHOT", "/tmp/a.png"}}, true, {}},
        {{{"ORVELLA_SCREENSHOT", "/tmp/a.png"}, {"ORVELLA_SCENE", "desktop-dark"}}, true, {}},
        {{{"ORVELLA_SCREENSHOT", "/tmp/a.png"}, {"ORVELLA_SCENE", "kit"}}, true, "qrc:/Orvella/UI/KitGallery.qml"},
    };
    for (const Case& c : cases) {
        const std::optional<SceneRequest> request = SceneRequest::from(c.environment);
        ASSERT_EQ(request.has_value(), c.requested);
        if (request) {
            EXPECT_EQ(request->sceneQml(), c.page);
        }
    }
}
