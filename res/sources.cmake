# The resource identifiers; the resources themselves go into each program
# (brantle_add_resources).
brantle_layer(res)
