# The package's own files are gone by now; what is left in the two shared
# folders belongs to the pupils, so it stays, and the administrator is told.
if [ "$1" -eq 0 ]; then
    for folder in /opt/tropinets/Рассказы /opt/tropinets/Картинки; do
        if [ -d "$folder" ]; then
            echo "tropinets: $folder keeps the pupils' own files; delete it by hand if they are no longer wanted."
        fi
    done
fi
