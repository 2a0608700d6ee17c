# The application object: the top of the program.
brantle_layer(app DEPENDS framework settings res codecs region engine options frame
    WINDOWS app/HalvexApp.cpp)
