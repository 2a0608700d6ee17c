# The settings record, its load and save rules and the hotkey bit layouts.
brantle_layer(settings DEPENDS framework
    PORTABLE settings/HotkeyFlags.cpp settings/RecordSettings.cpp)
