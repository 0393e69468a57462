# Run at install time: tells where the udev rule must go when the prefix puts it in a folder udev
# does not read (udev reads /etc/udev/rules.d, /run/udev/rules.d, /usr/lib/udev/rules.d,
# /lib/udev/rules.d and, with systemd's udev, /usr/local/lib/udev/rules.d). Silent for staged
# installs (DESTDIR): a package puts the rule where its system reads it.
function(zv_udev_rule_notice prefix)
    if(DEFINED ENV{DESTDIR} AND NOT "$ENV{DESTDIR}" STREQUAL "")
        return()
    endif()
    get_filename_component(prefix "${prefix}" ABSOLUTE)
    if(prefix STREQUAL "/usr" OR prefix STREQUAL "/" OR prefix STREQUAL "/usr/local")
        return()
    endif()
    set(rule "${prefix}/lib/udev/rules.d/70-zevuvora-scanner.rules")
    message(NOTICE
        "\nudev does not read rules from ${prefix}/lib/udev/rules.d, so the scanner's nodes stay "
        "closed to the user (and the film type cannot be set). As root:\n"
        "    cp ${rule} /etc/udev/rules.d/\n"
        "    udevadm control --reload\n"
        "then plug the scanner in again.\n")
endfunction()
