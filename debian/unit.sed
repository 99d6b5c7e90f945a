# The source's unit as the package installs it: the server runs as the system user the package
# makes (its state in /var/lib/spellcrypt-server), from /usr/bin, with the meanings and the browser
# edition the package ships.
/^# Install: copy/,/^# \/etc\/systemd\/system/d
s|^DynamicUser=yes$|User=spellcrypt-server\nGroup=spellcrypt-server|
s|/usr/local/bin/spellcrypt-server|/usr/bin/spellcrypt-server|
s|--behind-proxy$|--behind-proxy --meanings /usr/share/spellcrypt-server/meanings.dat --play /usr/share/spellcrypt-server/play|
s|^# No privilege: a transient user with|# No privilege: its own user with|
