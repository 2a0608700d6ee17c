# The application object: the top of the program.
brantle_layer(app DEPENDS framework settings res codecs region avi engine options frame
    WINDOWS app/HalvexApp.cpp)
