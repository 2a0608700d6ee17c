# The owner-drawn menu.
brantle_layer(menu DEPENDS framework
    PORTABLE
        menu/MenuColours.cpp
        menu/MenuLayout.cpp
        menu/MenuLook.cpp
        menu/MenuTemplate.cpp
        menu/MenuText.cpp
        menu/PictureVariants.cpp
    WINDOWS
        menu/ClassicMenuItem.cpp
        menu/FlatMenuItem.cpp
        menu/IconMenu.cpp
        menu/MenuGdi.cpp
        menu/MenuPictures.cpp
        menu/MenuPlatform.cpp
        menu/MenuToolbar.cpp
        menu/PictureEffects.cpp
    LIBS comctl32)
