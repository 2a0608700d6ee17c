list(APPEND BRANTLE_PORTABLE_SOURCES
    menu/MenuColours.cpp
    menu/MenuLayout.cpp
    menu/MenuLook.cpp
    menu/MenuTemplate.cpp
    menu/MenuText.cpp
    menu/PictureVariants.cpp
)
list(APPEND BRANTLE_WIN_SOURCES
    menu/ClassicMenuItem.cpp
    menu/FlatMenuItem.cpp
    menu/IconMenu.cpp
    menu/Menu.cpp
    menu/MenuGdi.cpp
    menu/MenuPictures.cpp
    menu/MenuPlatform.cpp
    menu/MenuToolbar.cpp
    menu/PictureEffects.cpp
)
