# Compiled into each Windows program that links the core (a static library
# would drop them: nothing refers to a resource by symbol).
list(APPEND BRANTLE_RESOURCE_SOURCES res/Brantle.rc)
