# The order of the system's folders, lowest first: a folder's files include
# only their own folder and the folders before it (the platform layers sit
# between core and archive, reached by the real APIs' header names).
# cmake/CheckIncludes.cmake holds every build and test run to it.
set(TARVO_LAYERS core archive sound render scene lights filters demo app)

# The knot: the ties that run against the order, every one inside the
# tarvo_knot library, as "file -> header: why". They are the design's own
# object graph; a new one fails the build until it is listed here with its
# reason.
set(TARVO_KNOT_TIES
    "render/DeferredShading.cpp -> lights/LightAmbient.h: the pipeline owns its ambient light"
    "render/DeferredShading.cpp -> lights/LightFog.h: the pipeline owns its fog"
    "scene/Scene.h -> lights/Light.h: a scene holds its lights"
    "scene/Scene.cpp -> lights/LightSpot.h: a scene draws its spot lights' shadow maps"
    "scene/QorLoader.cpp -> lights/LightOmni.h: the loader creates a scene's omni lights"
    "scene/QorLoader.cpp -> lights/LightSpot.h: the loader creates a scene's spot lights"
    "scene/QorLoader.cpp -> app/Tarvo.h: the loader asks the application for textures and scenes"
    "lights/LightOmni.cpp -> app/Tarvo.h: omni lights draw the application's primitives"
    "lights/LightSpot.cpp -> app/Tarvo.h: spot lights draw the application's primitives"
    "demo/ContentLoading.cpp -> app/Tarvo.h: content loading fills the application's containers"
    "demo/Timeline.cpp -> app/Tarvo.h: the timeline drives the application's pipeline and renderer")
